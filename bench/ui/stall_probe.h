#pragma once
// The longest time the user-interface thread is kept from its event loop
// while conversions run: a 1 ms timer's gaps, with the real window, its web
// view, and nine loopback services that answer after a short delay.

namespace velmo::bench {

struct StallFigures {
  int conversions = 0;
  double longest_ms = 0;
  double p99_ms = 0;
  double idle_longest_ms = 0;  // the same timer with nothing going on
};

StallFigures MeasureStalls(int argc, char** argv);

}  // namespace velmo::bench
