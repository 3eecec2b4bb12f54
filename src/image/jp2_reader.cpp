#include "image/jp2_reader.h"

#include <cstring>
#include <string>
#include <utility>

#include "image/jp2_pixels.h"
#include "image/jp2_stream.h"

namespace oxlip::image {
namespace {

constexpr uint8_t kJp2Signature[] = {0, 0, 0, 0x0c, 'j', 'P', ' ', ' ', 0x0d, 0x0a, 0x87, 0x0a};
constexpr uint8_t kCodestreamStart[] = {0xff, 0x4f, 0xff, 0x51};

struct Decoder {
  opj_codec_t* codec = nullptr;
  opj_stream_t* stream = nullptr;
  opj_image_t* image = nullptr;
  std::string error;

  ~Decoder() {
    if (image) opj_image_destroy(image);
    if (stream) opj_stream_destroy(stream);
    if (codec) opj_destroy_codec(codec);
  }
};

void OnError(const char* message, void* user) {
  auto* decoder = static_cast<Decoder*>(user);
  if (!decoder->error.empty()) return;  // the first one is the cause
  decoder->error = message;
  while (!decoder->error.empty() && decoder->error.back() == '\n') decoder->error.pop_back();
}

void OnNotice(const char*, void*) {}

bool Open(Decoder& decoder, OPJ_CODEC_FORMAT format, MemorySource& source) {
  decoder.codec = opj_create_decompress(format);
  decoder.stream = OpenMemoryStream(source);
  if (!decoder.codec || !decoder.stream) return false;
  opj_set_error_handler(decoder.codec, OnError, &decoder);
  opj_set_warning_handler(decoder.codec, OnNotice, &decoder);
  opj_set_info_handler(decoder.codec, OnNotice, &decoder);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  // Strict: a codestream that ends early is an error, not a blurred picture.
  return opj_setup_decoder(decoder.codec, &parameters) &&
         opj_decoder_set_strict_mode(decoder.codec, OPJ_TRUE);
}

// OpenJPEG keeps 32 bits per sample of every component, so the limit counts samples.
std::string CheckHeader(const opj_image_t& image) {
  if (image.x1 <= image.x0 || image.y1 <= image.y0) return "image has no pixels";
  const int64_t width = int64_t(image.x1) - image.x0;
  const int64_t height = int64_t(image.y1) - image.y0;
  std::string error = CheckImageSize(width, height);
  if (!error.empty()) return error;
  if (image.numcomps == 0 || image.numcomps > 4) return "unsupported number of components";
  if (width * height * image.numcomps > kMaxImagePixels) return "image has too many samples";
  return {};
}

ImageResult Fail(Decoder& decoder, const char* fallback) {
  const std::string reason = decoder.error.empty() ? fallback : decoder.error;
  return Failed("JPEG 2000: " + reason, ImageFormat::kJpeg2000);
}

}  // namespace

bool LooksLikeJp2(const uint8_t* data, size_t size) {
  return size >= sizeof kJp2Signature &&
         std::memcmp(data, kJp2Signature, sizeof kJp2Signature) == 0;
}

bool LooksLikeCodestream(const uint8_t* data, size_t size) {
  return size >= sizeof kCodestreamStart &&
         std::memcmp(data, kCodestreamStart, sizeof kCodestreamStart) == 0;
}

ImageResult ReadJp2(const uint8_t* data, size_t size) {
  OPJ_CODEC_FORMAT format = OPJ_CODEC_JP2;
  if (LooksLikeCodestream(data, size)) {
    format = OPJ_CODEC_J2K;
  } else if (!LooksLikeJp2(data, size)) {
    return Failed("JPEG 2000: no JP2 signature or codestream start", ImageFormat::kJpeg2000);
  }
  MemorySource source{data, size, 0};
  Decoder decoder;
  if (!Open(decoder, format, source)) return Fail(decoder, "decoder cannot be set up");
  if (!opj_read_header(decoder.stream, decoder.codec, &decoder.image) || !decoder.image) {
    return Fail(decoder, "header cannot be read");
  }
  std::string error = CheckHeader(*decoder.image);
  if (!error.empty()) return Failed("JPEG 2000: " + error, ImageFormat::kJpeg2000);
  if (!opj_decode(decoder.codec, decoder.stream, decoder.image) ||
      !opj_end_decompress(decoder.codec, decoder.stream)) {
    return Fail(decoder, "image data cannot be decoded");
  }
  Image image;
  error = ConvertJp2Pixels(*decoder.image, image);
  if (!error.empty()) return Failed("JPEG 2000: " + error, ImageFormat::kJpeg2000);
  return Decoded(std::move(image), ImageFormat::kJpeg2000);
}

}  // namespace oxlip::image
