#pragma once
// An open libzip archive that is discarded unless explicitly closed.
#include <zip.h>

#include <memory>
#include <string>

namespace oxlip::archive {

struct ZipDiscard {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

// Null with `error` set when libzip refuses the file.
ZipHandle OpenZip(const std::string& path, int flags, std::string* error);

}  // namespace oxlip::archive
