#pragma once
#include "text/text.h"

namespace velmo::text {

// The text after the first occurrence of the start marker up to the first
// occurrence of the end marker that begins after it; the empty Text when
// either is missing. In both markers "#引号" (in code page 936) stands for one
// double quote, so a marker can be written without escaping.
Text TextBetween(const Text& text, const Text& start_marker, const Text& end_marker);

}  // namespace velmo::text
