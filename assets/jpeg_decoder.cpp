#include "assets/jpeg_decoder.h"

#include <climits>
#include <csetjmp>

// jpeglib.h uses size_t and FILE without including their headers, so those come first.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

namespace velmo::assets {
namespace {

// libjpeg reports a fatal error through error_exit, which must not return: ours jumps back to
// the step that made the failing call. A warning means damaged data that libjpeg would patch
// over with grey and carry on; we want no such picture, so a warning ends the decoding the
// same way. Nothing is ever printed.
struct ErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg hands back a pointer to it
  std::jmp_buf step;
};

ErrorManager& Manager(j_common_ptr cinfo) {
  return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(Manager(cinfo).step, 1);
}

// Levels 0 and up are trace messages, which we neither want nor show.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr /*cinfo*/) {}

// Plain C data only. It must stay where it is once set up: cinfo.err points into it.
struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
};

// Each step below wraps one stretch of libjpeg calls in its own setjmp. They hold nothing with
// a destructor, so a jump back into them skips no clean-up; everything that needs one lives in
// DecodeJpeg, which no jump ever crosses.

bool Create(Decoder& d) {
  d.cinfo.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = ErrorExit;
  d.err.pub.emit_message = EmitMessage;
  d.err.pub.output_message = OutputMessage;
  if (setjmp(d.err.step) != 0) return false;
  jpeg_create_decompress(&d.cinfo);
  return true;
}

bool ReadHeader(Decoder& d, const std::uint8_t* data, unsigned long size) {
  if (setjmp(d.err.step) != 0) return false;
  jpeg_mem_src(&d.cinfo, data, size);
  if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  d.cinfo.out_color_space = JCS_RGB;
  return true;
}

bool Start(Decoder& d) {
  if (setjmp(d.err.step) != 0) return false;
  return jpeg_start_decompress(&d.cinfo) == TRUE;
}

bool ReadRows(Decoder& d, std::uint8_t* pixels, std::size_t stride) {
  if (setjmp(d.err.step) != 0) return false;
  while (d.cinfo.output_scanline < d.cinfo.output_height) {
    JSAMPROW row = pixels + d.cinfo.output_scanline * stride;
    jpeg_read_scanlines(&d.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

// Frees whatever libjpeg holds, on every way out, including a step that failed halfway.
// Destroying is safe on a decoder that was never created: the struct starts zeroed.
class DecoderScope {
 public:
  explicit DecoderScope(Decoder& d) : d_(d) {}
  ~DecoderScope() { jpeg_destroy_decompress(&d_.cinfo); }
  DecoderScope(const DecoderScope&) = delete;
  DecoderScope& operator=(const DecoderScope&) = delete;

 private:
  Decoder& d_;
};

}  // namespace

std::optional<Bitmap> DecodeJpeg(std::span<const std::uint8_t> jpeg) {
  if (jpeg.empty() || jpeg.size() > ULONG_MAX) return std::nullopt;

  Decoder d{};
  const DecoderScope scope(d);
  if (!Create(d)) return std::nullopt;
  if (!ReadHeader(d, jpeg.data(), static_cast<unsigned long>(jpeg.size()))) return std::nullopt;
  constexpr auto kMaxSide = static_cast<JDIMENSION>(kMaxPictureSide);
  if (d.cinfo.image_width > kMaxSide || d.cinfo.image_height > kMaxSide) return std::nullopt;
  if (!Start(d) || d.cinfo.output_components != 3) return std::nullopt;

  const std::size_t width = d.cinfo.output_width;
  const std::size_t height = d.cinfo.output_height;
  Bitmap bitmap{static_cast<int>(width), static_cast<int>(height), {}};
  bitmap.rgb.resize(width * height * 3);
  if (!ReadRows(d, bitmap.rgb.data(), width * 3)) return std::nullopt;
  return bitmap;
}

}  // namespace velmo::assets
