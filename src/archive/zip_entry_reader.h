#pragma once
// The bytes of one zip entry, whatever the method it was compressed with.
#include <zip.h>

#include <string>

#include "archive/output_folder.h"

namespace oxlip::archive {

// libzip decodes the methods it knows. For the others the 7-Zip program writes on request
// (Deflate64, LZMA, XZ, PPMd) the raw data is decoded here or by libarchive, and its size and
// CRC are checked as libzip checks them. False with `error` set for a damaged entry.
bool ReadZipEntry(zip_t* zip, zip_uint64_t index, const Sink& sink, std::string* error);

}  // namespace oxlip::archive
