#pragma once
// How long the real program takes to end after Escape while all nine of its
// requests are still waiting for an answer.

#include <vector>

namespace velmo::bench {

// Child side: the program with its services on the loopback ports given, which
// clicks convert once shown and presses Escape when a line arrives on stdin.
[[noreturn]] void RunCloseChild(int argc, char** argv);

// Parent side: the milliseconds from the Escape to the child's end, per run; a
// run that did not end within 5 s counts as -1.
std::vector<double> MeasureCloseTimes(const char* self, int runs);

}  // namespace velmo::bench
