#pragma once
// The save button: six result boxes into six files beside the program.

#include <array>
#include <string>

#include "text/text.h"
#include "ui/window.h"

namespace velmo::ui {

struct ResultFileRow {
  text::Text file_name;   // code page 936, no directory part
  text::Text result_box;  // the box whose text is written
};

// The six files in the order they are written: the left column of result
// boxes top to bottom (services 5, 2, 3), then the right one (4, 6, 9).
const std::array<ResultFileRow, 6>& ResultFileTable();

// Reloads the advert from 编辑框2, then writes each box's bytes, read just
// before its own file, into the directory. A file that cannot be written is
// skipped without a word and the others are still written.
void SaveResults(Window& window, const std::string& directory);

}  // namespace velmo::ui
