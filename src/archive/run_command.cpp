#include "archive/run_command.h"

#include "archive/archive_format.h"
#include "archive/command_line.h"
#include "archive/disk_items.h"
#include "archive/sevenz_archive.h"
#include "archive/zip_archive.h"
#include "base/create_path.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "platform/utf8_names.h"

namespace oxlip::archive {
namespace {

// The format of an archive that must exist already; "-t" must agree with its content.
bool ExistingFormat(const Command& command, const std::string& archive, Format* format,
                    std::string* error) {
  if (!platform::IsFile(archive)) {
    *error = "no such archive: " + archive;
    return false;
  }
  std::optional<Format> found = DetectFormat(archive);
  if (!found) {
    *error = "not an archive: " + archive;
    return false;
  }
  if (command.type && *command.type != *found) {
    *error = archive + " is not a " + FormatName(*command.type) + " archive";
    return false;
  }
  *format = *found;
  return true;
}

bool Extract(const Command& command, const std::string& archive, std::string* error) {
  Format format;
  if (!ExistingFormat(command, archive, &format, error)) return false;
  switch (format) {
    case Format::kZip:
      return ExtractZip(command, archive, error);
    case Format::kSevenZ:
      return ExtractSevenZ(command, archive, error);
    case Format::kLzma:
      break;
  }
  return ExtractLzma(command, archive, error);
}

bool Add(const Command& command, const std::string& archive, std::string* error) {
  std::vector<DiskItem> items;
  if (!CollectDiskItems(command, archive, &items, error)) return false;
  Format format = NewArchiveFormat(command);
  if (platform::FileSize(archive) != -1 && platform::FileSize(archive) != 0 &&
      !ExistingFormat(command, archive, &format, error))
    return false;
  if (format == Format::kLzma) {
    *error = "LZMA files can only be unpacked";
    return false;
  }
  CreatePath(archive);
  bool only_newer = command.letter == 'u';
  return format == Format::kZip ? AddToZip(command, archive, items, only_newer, error)
                                : AddToSevenZ(command, archive, items, only_newer, error);
}

bool Delete(const Command& command, const std::string& archive, std::string* error) {
  Format format;
  if (!ExistingFormat(command, archive, &format, error)) return false;
  if (format == Format::kLzma) {
    *error = "LZMA files can only be unpacked";
    return false;
  }
  return format == Format::kZip ? DeleteFromZip(command, archive, error)
                                : DeleteFromSevenZ(command, archive, error);
}

}  // namespace

int RunCommandLine(const std::string& line, const std::string& folder, std::string* error) {
  platform::Utf8Names utf8;  // 7z names convert through the locale, which may be "C"
  Command command;
  if (!ParseCommand(line, &command, error)) return kCommandLineError;
  // As a change into a missing folder would fail: "*" of some other folder is never taken.
  if (!folder.empty() && !platform::IsFolder(folder)) {
    *error = "no such folder: " + platform::NativePath(folder);
    return kFatalError;
  }
  command.folder = folder;
  for (std::string& list : command.list_files) list = command.OnDisk(list);
  command.output = command.OnDisk(command.output);
  if (!ReadListFiles(&command, error)) return kFatalError;
  std::string archive = command.OnDisk(command.archive);
  bool ok = command.Extracts() ? Extract(command, archive, error)
            : command.Adds()   ? Add(command, archive, error)
                               : Delete(command, archive, error);
  return ok ? kSuccess : kFatalError;
}

}  // namespace oxlip::archive
