#pragma once
// Readable failure messages for Text and Bytes: the bytes, escaped.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/text.h"

namespace velmo::text {

inline void PrintTo(const Text& text, std::ostream* out) {
  *out << testing::PrintToString(text.str());
}

inline void PrintTo(const Bytes& bytes, std::ostream* out) {
  *out << testing::PrintToString(std::string(bytes.view()));
}

}  // namespace velmo::text
