#pragma once
// Where the result files go and how one is written: the platform's part of
// saving. Each platform has its own program_files_*.cpp; CMake builds one.

#include <string>
#include <string_view>

#include "text/text.h"

namespace velmo::ui {

// The directory of the running program's own file, as the platform spells
// paths, with no separator at the end. Empty when it cannot be found.
std::string ProgramDirectory();

// Writes the bytes as the whole content of the file called file_name (code
// page 936) inside the directory: created, or truncated if it exists, then
// written and closed. False when the file could not be opened or written; a
// failed write may leave the file cut short.
bool WriteResultFile(const std::string& directory, const text::Text& file_name,
                     std::string_view bytes);

}  // namespace velmo::ui
