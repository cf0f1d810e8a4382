#include "ui/result_files.h"

#include <string>

#include "text/codepage.h"
#include "text/text_ops.h"
#include "ui/program_files.h"
#include "ui/window_description.h"
#include "ui/window_events.h"

namespace velmo::ui {

const std::array<ResultFileRow, 6>& ResultFileTable() {
  static const std::array<ResultFileRow, 6> table = [] {
    constexpr std::array kServices = {5, 2, 3, 4, 6, 9};
    std::array<ResultFileRow, 6> rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const text::Text number(std::to_string(i + 1));
      rows[i].file_name = text::JoinText(text::Utf8ToAnsi("生成网址"), number, ".txt");
      rows[i].result_box = names::ResultBox(kServices[i]);
    }
    return rows;
  }();
  return table;
}

void SaveResults(Window& window, const std::string& directory) {
  ShowAdvert(window, names::AdvertOnChange());
  for (const ResultFileRow& row : ResultFileTable()) {
    const text::Bytes content = text::TextToBytes(window.ReadText(row.result_box));
    // Nothing is reported: a file that cannot be written is simply passed by.
    (void)WriteResultFile(directory, row.file_name, content.view());
  }
}

}  // namespace velmo::ui
