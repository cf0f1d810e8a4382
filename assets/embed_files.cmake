# Turns files into read-only byte arrays that the program carries inside itself.
#
#   cmake -DENTRIES=<name>=<file>|<name>=<file>... -DOUT_HEADER=<h> -DOUT_SOURCE=<cpp> -P embed_files.cmake
#
# Each <name> becomes `const std::uint8_t k<name>[<size>]` in namespace velmo::assets::embedded.
# The header carries the sizes, so callers can take a std::span of an array without a length
# variable to keep in step. Only CMake is needed, no hex-dump tool.

foreach(var ENTRIES OUT_HEADER OUT_SOURCE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_files.cmake: ${var} is not set")
  endif()
endforeach()

# CMake's regular expressions have no {n}, so the sixteen-byte line is spelt out.
string(REPEAT "0x..," 16 line_of_bytes)

# The entries come as one '|'-separated argument; a ';' would not survive the command line.
string(REPLACE "|" ";" entries "${ENTRIES}")
get_filename_component(header_name "${OUT_HEADER}" NAME)

set(banner "// Generated at build time by assets/embed_files.cmake. Do not edit.\n")
set(header "${banner}#pragma once\n\n#include <cstdint>\n\nnamespace velmo::assets::embedded {\n\n")
set(source "${banner}#include \"${header_name}\"\n\nnamespace velmo::assets::embedded {\n")

foreach(entry IN LISTS entries)
  if(NOT entry MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=(.+)$")
    message(FATAL_ERROR "embed_files.cmake: bad entry '${entry}'")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(path "${CMAKE_MATCH_2}")
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  if(size EQUAL 0)
    message(FATAL_ERROR "embed_files.cmake: ${path} is empty")
  endif()
  # Sixteen bytes to a line keeps the generated file readable in a debugger.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${line_of_bytes})" "\\1\n    " bytes "${bytes}")
  string(REGEX REPLACE "\n    $" "" bytes "${bytes}")
  string(APPEND header "extern const std::uint8_t k${name}[${size}];\n")
  string(APPEND source "\nconst std::uint8_t k${name}[${size}] = {\n    ${bytes}\n};\n")
endforeach()

string(APPEND header "\n}  // namespace velmo::assets::embedded\n")
string(APPEND source "\n}  // namespace velmo::assets::embedded\n")

file(WRITE "${OUT_HEADER}" "${header}")
file(WRITE "${OUT_SOURCE}" "${source}")
