#include "prefs/pref_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/fs.h"
#include "platform/path.h"
#include "prefs/pref_document.h"
#include "prefs/text_encoding.h"

namespace oxlip {
namespace {

enum class Access { kWritable, kReadOnly, kMissing };

struct OpenFile {
  std::string path;
  Access access = Access::kWritable;
  prefs::PrefDocument document;
  bool changed = false;

  ~OpenFile() { WriteBack(); }
  void WriteBack();
};

thread_local std::unique_ptr<OpenFile> current;

// A file whose write bits are all clear counts as read-only even for root, as the read-only
// attribute does where these files come from.
Access ProbeAccess(const std::string& native) {
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return Access::kMissing;
  if ((st.st_mode & 0222) == 0 || ::access(native.c_str(), W_OK) != 0) return Access::kReadOnly;
  return Access::kWritable;
}

// Writing through a link must update the file it points to, not replace the link.
std::string ResolveLinks(const std::string& native) {
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (!resolved) return native;
  std::string out = resolved;
  std::free(resolved);
  return out;
}

void OpenFile::WriteBack() {
  if (!changed || access == Access::kReadOnly) return;
  std::string native = ResolveLinks(platform::NativePath(path));
  if (ProbeAccess(native) == Access::kReadOnly) return;
  // Temporary file and rename: a full disk or a crash never leaves the file half written.
  platform::ReplaceFileContents(native, prefs::SerializePrefDocument(document));
  changed = false;
}

std::string FileKey(const std::string& key) {
  return current->document.utf8 ? prefs::NarrowToUtf8(key) : key;
}

}  // namespace

int OpenPrefFile(const std::string& path) {
  ClosePrefFile();
  current = std::make_unique<OpenFile>();
  current->path = path;
  std::string native = platform::NativePath(path);
  current->access = ProbeAccess(native);
  std::optional<std::string> bytes;
  if (current->access != Access::kMissing && !platform::IsFolder(path))
    bytes = platform::ReadWholeFile(path);
  if (!bytes) {
    current->access = Access::kMissing;
    return 0;
  }
  current->document = prefs::ParsePrefText(*bytes);
  return 1;
}

int CreatePrefFile(const std::string& path) {
  ClosePrefFile();
  std::string native = platform::NativePath(path);
  Access access = ProbeAccess(native);
  if (access == Access::kReadOnly || platform::IsFolder(path)) return 0;
  if (access == Access::kMissing) {
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return 0;
    ::close(fd);
  }
  current = std::make_unique<OpenFile>();
  current->path = path;
  // The old bytes go only when the new text is written whole on close.
  current->changed = true;
  return 1;
}

std::string ReadPrefString(const std::string& key, const std::string& default_value) {
  if (!current) return default_value;
  int index = prefs::FindPrefKey(current->document, FileKey(key));
  if (index < 0) return default_value;
  std::string value(prefs::TrimBlanks(current->document.entries[index].value));
  return current->document.utf8 ? prefs::Utf8ToNarrow(value) : value;
}

int ReadPrefNumber(const std::string& key, int default_value) {
  if (!current) return default_value;
  int index = prefs::FindPrefKey(current->document, FileKey(key));
  if (index < 0) return default_value;
  return prefs::ParsePrefNumber(current->document.entries[index].value);
}

void WritePrefString(const std::string& key, const std::string& value) {
  if (!current) return;
  prefs::PrefDocument& document = current->document;
  std::string file_key = FileKey(key);
  std::string file_value = document.utf8 ? prefs::NarrowToUtf8(value) : value;
  int index = prefs::FindPrefKey(document, file_key);
  if (index >= 0) {
    document.entries[index].name = file_key;
    document.entries[index].value = file_value;
  } else {
    prefs::PrefEntry entry{prefs::PrefEntry::Kind::kKey, file_key, file_value};
    document.entries.insert(
        document.entries.begin() + static_cast<std::ptrdiff_t>(prefs::EndOfFlatSection(document)),
        std::move(entry));
  }
  current->changed = true;
}

void WritePrefNumber(const std::string& key, int value) {
  WritePrefString(key, std::to_string(value));
}

void ClosePrefFile() { current.reset(); }

}  // namespace oxlip
