// Code page conversion on ICU. Code page 936 goes through two tables that are
// filled once from ICU's "windows-936-2000" converter with its fallback
// mappings switched on (those are the best-fit mappings Windows applies), and
// every mapping ICU refuses becomes '?', as Windows writes it. The tables make
// the hot path a lookup per character and give the Windows treatment of
// malformed input, which ICU's own callbacks do differently (ICU writes U+FFFD
// and re-reads the byte after a bad lead byte; it silently drops some
// default-ignorable characters).

#include <unicode/ucnv.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <memory>
#include <string>

#include "text/codepage.h"

namespace velmo::text {
namespace {

constexpr char16_t kQuestion = u'?';

bool IsLead(unsigned char b) {
  return b >= 0x81 && b <= 0xFE;
}
bool IsTrail(unsigned char b) {
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

struct Gbk {
  std::array<char16_t, 256> single{};          // one-byte characters
  std::array<char16_t, 65536> pair{};          // lead * 256 + trail
  std::array<std::uint16_t, 65536> encoded{};  // unit -> byte, or lead * 256 + trail; 0: none
};

struct ConverterClose {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// One character through ICU; '?' when ICU has no mapping for it.
char16_t IcuDecode(UConverter* cnv, const char* bytes, int32_t length) {
  UChar unit[4];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetToUnicode(cnv);
  const int32_t n = ucnv_toUChars(cnv, unit, 4, bytes, length, &status);
  return U_SUCCESS(status) && n == 1 ? static_cast<char16_t>(unit[0]) : kQuestion;
}

std::uint16_t IcuEncode(UConverter* cnv, char16_t unit) {
  const UChar in[1] = {static_cast<UChar>(unit)};
  char out[8];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(cnv);
  const int32_t n = ucnv_fromUChars(cnv, out, sizeof out, in, 1, &status);
  if (U_FAILURE(status)) return 0;
  // ICU's table carries a few fallbacks from symbols to control bytes
  // (U+FFE9 to 0x1B and the like); Windows has no such best fit.
  if (n == 1)
    return static_cast<unsigned char>(out[0]) < 0x20 ? 0 : static_cast<unsigned char>(out[0]);
  if (n == 2) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                      static_cast<unsigned char>(out[1]));
  }
  return 0;
}

std::unique_ptr<const Gbk> BuildGbk() {
  auto gbk = std::make_unique<Gbk>();
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterClose> cnv(ucnv_open("windows-936-2000", &status));
  if (U_FAILURE(status)) return gbk;  // every character then converts to '?'
  ucnv_setFallback(cnv.get(), true);
  // Stop instead of substituting, so that an unmapped character is seen as
  // such rather than replaced or dropped.
  ucnv_setToUCallBack(cnv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(cnv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);

  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    gbk->single[static_cast<std::size_t>(b)] =
        b < 0x80 ? static_cast<char16_t>(b) : IcuDecode(cnv.get(), &byte, 1);
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      gbk->pair[static_cast<std::size_t>(lead << 8 | trail)] =
          IsTrail(static_cast<unsigned char>(trail)) ? IcuDecode(cnv.get(), pair, 2) : kQuestion;
    }
  }
  for (std::uint32_t unit = 1; unit < 0x10000; ++unit) {
    if (U16_IS_SURROGATE(unit)) continue;
    gbk->encoded[unit] = IcuEncode(cnv.get(), static_cast<char16_t>(unit));
  }
  return gbk;
}

const Gbk& GbkTables() {
  static const std::unique_ptr<const Gbk> tables = BuildGbk();
  return *tables;
}

// Code page 936 to UTF-16. A lead byte takes the byte after it whatever it is
// (a pair that is not a character gives one '?'); a lead byte at the end gives '?'.
std::u16string DecodeGbk(std::string_view in) {
  const Gbk& gbk = GbkTables();
  std::u16string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (!IsLead(b)) {
      out.push_back(gbk.single[b]);
    } else if (i + 1 == in.size()) {
      out.push_back(kQuestion);
    } else {
      ++i;
      out.push_back(gbk.pair[static_cast<std::size_t>(b << 8 | static_cast<unsigned char>(in[i]))]);
    }
  }
  return out;
}

std::string EncodeGbk(std::u16string_view in) {
  const Gbk& gbk = GbkTables();
  std::string out;
  out.reserve(in.size() * 2);
  for (const char16_t unit : in) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
      continue;
    }
    const std::uint16_t code = gbk.encoded[unit];
    if (code == 0) {
      out.push_back('?');
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

// Ill-formed UTF-8 gives U+FFFD for each maximal ill-formed part.
std::u16string DecodeUtf8(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  const auto* s = reinterpret_cast<const uint8_t*>(in.data());
  const auto length = static_cast<int32_t>(in.size());
  int32_t i = 0;
  while (i < length) {
    if (s[i] < 0x80) {
      out.push_back(static_cast<char16_t>(s[i++]));
      continue;
    }
    UChar32 c;
    U8_NEXT_OR_FFFD(s, i, length, c);
    const auto code = static_cast<std::uint32_t>(c);
    if (code <= 0xFFFF) {
      out.push_back(static_cast<char16_t>(code));
    } else {
      out.push_back(static_cast<char16_t>(0xD7C0 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    }
  }
  return out;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  const auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (code < 0x800) {
    put(0xC0 | code >> 6);
  } else if (code < 0x10000) {
    put(0xE0 | code >> 12);
    put(0x80 | (code >> 6 & 0x3F));
  } else {
    put(0xF0 | code >> 18);
    put(0x80 | (code >> 12 & 0x3F));
    put(0x80 | (code >> 6 & 0x3F));
  }
  put(0x80 | (code & 0x3F));
}

// A lone surrogate gives U+FFFD.
std::string EncodeUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size() * 3);
  for (std::size_t i = 0; i < in.size(); ++i) {
    const std::uint32_t unit = in[i];
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (!U16_IS_SURROGATE(unit)) {
      AppendUtf8(out, unit);
    } else if (U16_IS_SURROGATE_LEAD(unit) && i + 1 < in.size() && U16_IS_TRAIL(in[i + 1])) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (in[++i] - 0xDC00u));
    } else {
      AppendUtf8(out, 0xFFFD);
    }
  }
  return out;
}

bool IsGbk(int code_page) {
  return code_page == kCodePageAnsi || code_page == kCodePage936;
}

}  // namespace

Bytes TextToWide(const Text& text, int code_page) {
  if (text.empty() || !(IsGbk(code_page) || code_page == kCodePageUtf8)) return {};
  const std::u16string units = IsGbk(code_page) ? DecodeGbk(text.view()) : DecodeUtf8(text.view());
  std::string bytes;
  bytes.reserve(units.size() * 2 + 2);
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  bytes.append(2, '\0');
  return Bytes(std::move(bytes));
}

Text WideToText(const Bytes& units, int code_page) {
  if (!(IsGbk(code_page) || code_page == kCodePageUtf8)) return {};
  std::u16string wide;
  wide.reserve(units.size() / 2);
  const std::string_view b = units.view();
  for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                            static_cast<unsigned char>(b[i + 1]) << 8);
    if (unit == 0) break;
    wide.push_back(unit);
  }
  return Text(IsGbk(code_page) ? EncodeGbk(wide) : EncodeUtf8(wide));
}

Text AnsiToUtf8(const Text& text) {
  return Text(EncodeUtf8(DecodeGbk(text.view())));
}

Text Utf8ToAnsi(const Text& text) {
  return Text(EncodeGbk(DecodeUtf8(text.view())));
}

}  // namespace velmo::text
