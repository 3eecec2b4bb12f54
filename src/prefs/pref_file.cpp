#include "prefs/pref_file.h"

#include <memory>
#include <optional>

#include "platform/file_access.h"
#include "platform/file_append.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "prefs/pref_document.h"
#include "prefs/text_encoding.h"

namespace oxlip {
namespace {

struct OpenFile {
  std::string path;
  platform::FileAccess access = platform::FileAccess::kWritable;
  prefs::PrefDocument document;
  bool changed = false;

  ~OpenFile() { WriteBack(); }
  void WriteBack();
};

thread_local std::unique_ptr<OpenFile> current;

void OpenFile::WriteBack() {
  if (!changed || access == platform::FileAccess::kReadOnly) return;
  std::string native = platform::ResolveLinks(path);
  if (platform::ProbeFileAccess(native) == platform::FileAccess::kReadOnly) return;
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
  // Reading fails on a folder as on a missing file. Whether the file may be written is asked
  // when it is written back: thousands are only read at every start.
  std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes) {
    current->access = platform::FileAccess::kMissing;
    return 0;
  }
  current->document = prefs::ParsePrefText(*bytes);
  return 1;
}

int CreatePrefFile(const std::string& path) {
  ClosePrefFile();
  platform::FileAccess access = platform::ProbeFileAccess(path);
  if (access == platform::FileAccess::kReadOnly || platform::IsFolder(path)) return 0;
  if (access == platform::FileAccess::kMissing && !platform::CreateFileIfMissing(path)) return 0;
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
