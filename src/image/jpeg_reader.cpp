#include "image/jpeg_reader.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <utility>

namespace oxlip::image {
namespace {

// libjpeg's default error handler ends the process; this one jumps back instead. Nothing
// between setjmp and the jump may need a destructor run.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Data that ends early is filled with grey by libjpeg; for us it is a broken file.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
}

// A progressive file can hold any number of scans, each a full pass over the image; real
// encoders write a dozen or so.
constexpr int kMaxScans = 256;

void OnProgress(j_common_ptr cinfo) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxScans) {
    std::snprintf(reinterpret_cast<JpegErrors*>(cinfo->err)->message, JMSG_LENGTH_MAX,
                  "too many scans");
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
  }
}

bool ReadHeader(jpeg_decompress_struct& cinfo, JpegErrors& errors) {
  if (setjmp(errors.jump)) return false;
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_RGBA;
  return true;
}

// Rows are added as they are decoded, so a file that breaks off early never costs the
// memory of the whole image it claims to be.
bool ReadRows(jpeg_decompress_struct& cinfo, JpegErrors& errors, Image& image) {
  if (setjmp(errors.jump)) return false;
  jpeg_start_decompress(&cinfo);
  const size_t stride = size_t(cinfo.output_width) * 4;
  if (cinfo.output_components != 4) {
    std::snprintf(errors.message, sizeof errors.message, "unexpected output layout");
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    const size_t y = cinfo.output_scanline;
    image.rgba.resize((y + 1) * stride);
    JSAMPROW row = &image.rgba[y * stride];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

ImageResult Decode(jpeg_decompress_struct& cinfo, JpegErrors& errors) {
  if (!ReadHeader(cinfo, errors)) {
    return Failed(std::string("JPEG: ") + errors.message, ImageFormat::kJpeg);
  }
  std::string size_error = CheckImageSize(cinfo.image_width, cinfo.image_height);
  if (!size_error.empty()) return Failed("JPEG: " + size_error, ImageFormat::kJpeg);
  Image image;
  image.width = int(cinfo.image_width);
  image.height = int(cinfo.image_height);
  if (!ReadRows(cinfo, errors, image)) {
    return Failed(std::string("JPEG: ") + errors.message, ImageFormat::kJpeg);
  }
  return Decoded(std::move(image), ImageFormat::kJpeg);
}

}  // namespace

bool LooksLikeJpeg(const uint8_t* data, size_t size) {
  return size >= 3 && data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff;
}

ImageResult ReadJpeg(const uint8_t* data, size_t size) {
  if (!LooksLikeJpeg(data, size)) {
    return Failed("JPEG: no start-of-image marker", ImageFormat::kJpeg);
  }
  jpeg_decompress_struct cinfo;
  JpegErrors errors;
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnError;
  errors.manager.emit_message = OnMessage;
  errors.message[0] = '\0';
  jpeg_create_decompress(&cinfo);
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  ImageResult result = Decode(cinfo, errors);
  jpeg_destroy_decompress(&cinfo);
  return result;
}

}  // namespace oxlip::image
