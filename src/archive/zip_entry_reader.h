#pragma once
// The bytes of one zip entry, whatever the method it was compressed with.
#include <zip.h>

#include <memory>
#include <string>

#include "archive/output_folder.h"

namespace oxlip::archive {

// What one thread reuses from entry to entry: buffers and a Deflate decoder.
class ZipScratch {
 public:
  ZipScratch();
  ~ZipScratch();
  ZipScratch(const ZipScratch&) = delete;
  ZipScratch& operator=(const ZipScratch&) = delete;

  struct Parts;
  Parts& parts() { return *parts_; }

 private:
  std::unique_ptr<Parts> parts_;
};

// Stored and Deflate entries of ordinary size are decoded whole in memory (libdeflate), the
// larger ones and the other methods libzip knows by libzip. For the methods the 7-Zip program
// writes on request (Deflate64, LZMA, XZ, PPMd) the raw data is decoded here or by libarchive.
// Sizes and CRCs are checked as libzip checks them. False with `error` set for a damaged entry.
bool ReadZipEntry(zip_t* zip, zip_uint64_t index, const Sink& sink, std::string* error,
                  ZipScratch* scratch = nullptr);

}  // namespace oxlip::archive
