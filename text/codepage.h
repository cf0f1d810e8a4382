#pragma once
// Conversions between code page 936 text, UTF-16 units and UTF-8, with the
// results the Windows conversion functions give (flags 0): best-fit mappings
// and '?' for what code page 936 cannot hold or for bytes that are not valid
// in it. The result is always the whole text; nothing is cut short.

#include "text/text.h"

namespace velmo::text {

// The code page numbers callers may pass. 0 is the system's ANSI code page,
// which is code page 936 here, the code page of Text.
inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePage936 = 936;
inline constexpr int kCodePageUtf8 = 65001;

// UTF-16 units, low byte first, ending with one zero unit. The empty text
// gives the empty Bytes; an unknown code page gives the empty Bytes.
Bytes TextToWide(const Text& text, int code_page = kCodePageUtf8);
// Reads the units up to the first zero unit (or the end) and writes them in
// the code page; an unknown code page gives the empty Text.
Text WideToText(const Bytes& units, int code_page = kCodePageAnsi);

Text AnsiToUtf8(const Text& text);
Text Utf8ToAnsi(const Text& text);

}  // namespace velmo::text
