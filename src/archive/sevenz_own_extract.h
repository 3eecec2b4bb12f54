#pragma once
// Extracting a 7z archive whose folders we decode ourselves (LZMA, LZMA2, PPMd, BZip2, Copy): the
// folders are decoded on threads of their own while the files are written.
#include <string>

#include "archive/command.h"
#include "archive/sevenz_reader.h"

namespace oxlip::archive {

// Whether every folder and entry is one ExtractOurselves handles as libarchive would.
bool CanExtractOurselves(const SevenZContents& contents);

// "x" and "e"; every entry is checked before anything is written.
bool ExtractOurselves(const Command& command, const std::string& archive,
                      const SevenZContents& contents, std::string* error);

}  // namespace oxlip::archive
