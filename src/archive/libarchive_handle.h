#pragma once
// libarchive readers that are freed with their scope.
#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <string>

#include "archive/command.h"
#include "archive/output_folder.h"

namespace oxlip::archive {

struct ReadFree {
  void operator()(struct archive* a) const { archive_read_free(a); }
};
using Reader = std::unique_ptr<struct archive, ReadFree>;

// A 7z archive, or a raw LZMA stream for Format::kLzma. Null with `error` set on failure.
Reader OpenReader(const std::string& path, Format format, std::string* error);

// The next header; false at the end (with `error` empty) or on damage (with `error` set).
// `warned`, when given, tells whether libarchive had a warning, such as a name it could not
// convert.
bool NextHeader(struct archive* reader, struct archive_entry** entry, std::string* error,
                bool* warned = nullptr);

// The current entry's bytes into the sink; false with `error` set when the data is damaged
// (a sink that refuses bytes sets its own error).
bool ReadData(struct archive* reader, const Sink& sink, std::string* error);

std::string ArchiveError(struct archive* a);

}  // namespace oxlip::archive
