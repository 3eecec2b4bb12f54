#include "archive/libarchive_handle.h"

#include <cerrno>
#include <vector>

#include "platform/error.h"

namespace oxlip::archive {

std::string ArchiveError(struct archive* a) {
  const char* text = archive_error_string(a);
  return text ? text : "unknown error";
}

Reader OpenReader(const std::string& path, Format format, std::string* error) {
  Reader reader(archive_read_new());
  if (format == Format::kLzma) {
    archive_read_support_format_raw(reader.get());
    archive_read_support_filter_lzma(reader.get());
  } else {
    archive_read_support_format_7zip(reader.get());
  }
  if (archive_read_open_filename(reader.get(), path.c_str(), 1 << 16) != ARCHIVE_OK) {
    *error = "can't open " + path + ": " + ArchiveError(reader.get());
    // Where the file itself failed, libarchive names it but not the system's reason. It
    // reports a damaged or unknown format as EILSEQ and its own misuse as EINVAL.
    int code = archive_errno(reader.get());
    if (code > 0 && code != EILSEQ && code != EINVAL) *error += ": " + platform::ReasonText(code);
    return nullptr;
  }
  return reader;
}

bool NextHeader(struct archive* reader, struct archive_entry** entry, std::string* error,
                bool* warned) {
  int result = archive_read_next_header(reader, entry);
  if (warned) *warned = result == ARCHIVE_WARN;
  if (result == ARCHIVE_OK || result == ARCHIVE_WARN) return true;
  if (result != ARCHIVE_EOF) *error = "damaged archive: " + ArchiveError(reader);
  return false;
}

bool ReadData(struct archive* reader, const Sink& sink, std::string* error) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    la_ssize_t got = archive_read_data(reader, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) {
      *error = "damaged entry: " + ArchiveError(reader);
      return false;
    }
    if (!sink(buffer.data(), static_cast<std::size_t>(got))) return false;
  }
}

}  // namespace oxlip::archive
