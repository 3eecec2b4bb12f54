#pragma once
// The file-system operations the program relies on. Every path may use "\" or "/". Each that
// can fail fills the `Error` it is given with the system's reason.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dates.h"
#include "platform/error.h"
#include "platform/path_status.h"

namespace oxlip::platform {

struct DirEntry {
  std::string name;
  // What the entry is itself: kFile, kFolder, kLink (whatever it names) or kOther (a FIFO, a
  // socket, a device). A walk descends into real folders only, so a link to an ancestor can
  // never make it endless.
  PathKind kind = PathKind::kMissing;
  bool is_folder = false;     // kind is kFolder
  bool names_folder = false;  // a folder or a link to one: what a listing of one level offers
  DateValue modified = 0;     // of what it names; 0 for a broken link
};

// One folder; trailing blanks and separators are ignored. Fails when the parent is missing or
// the folder exists.
bool CreateFolder(const std::string& path, Error* error = nullptr);
bool DeleteFile(const std::string& path, Error* error = nullptr);
// Overwrites the target; the target is replaced only once the copy is complete, with the
// source's rights and times. The bytes are streamed (by the kernel where it can, sharing blocks
// where the file system offers it; holes stay holes), never held in memory as a whole. Copies
// are not flushed to the disk one by one (game files, clones: thousands at a time); the settings
// files written by ReplaceFileContents are. Only a file (through a link too) is copied: a FIFO,
// a socket or a device is refused without being opened.
bool CopyFile(const std::string& from, const std::string& to, Error* error = nullptr);
// A file renamed, or copied and then deleted where the target is on another file system; fails
// when the target exists.
bool MoveFile(const std::string& from, const std::string& to, Error* error = nullptr);
// Renames or moves a file or folder; fails when the target exists.
bool RenameFile(const std::string& from, const std::string& to, Error* error = nullptr);
// What RenameFile does where the file system has no rename that refuses an existing target
// (network file systems): fails when the target exists, then renames; a target that appears in
// between is replaced.
bool RenameAfterCheck(const std::string& from, const std::string& to, Error* error = nullptr);
enum class FollowLinks {
  kNever,
  // A link to a folder is copied as that folder's content and a link to a file as the file
  // (a "saves" folder kept on another disk), unless it names a folder that the copy is already
  // in or is writing to.
  kGuarded,
};
// Copies everything below `from` into `to`, creating folders and overwriting files; files and
// folders keep their times. What it leaves out (links it does not follow, broken links, loops,
// FIFOs, sockets and devices, none of which it opens) it names in `skipped`, by the path below
// `from`. False when a folder or file could not be copied, or when `go_on`, asked before each
// file, said no.
bool CopyTree(const std::string& from, const std::string& to,
              FollowLinks links = FollowLinks::kNever, std::vector<std::string>* skipped = nullptr,
              Error* error = nullptr, const std::function<bool()>& go_on = {});
// Deletes the folder with everything in it, read-only entries too.
bool DeleteTree(const std::string& path, Error* error = nullptr);
// Entries of a folder, without "." and "..", in the file system's order. Empty when it cannot be
// listed, and then `error` says why.
std::vector<DirEntry> ListFolder(const std::string& path, Error* error = nullptr);
// Size in bytes; -1 when missing, -2 when the path is a folder.
std::int64_t FileSize(const std::string& path);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
bool Exists(const std::string& path);
DateValue FileDate(const std::string& path);  // 0 when missing
bool SetFileDate(const std::string& path, DateValue date);

std::optional<std::string> ReadWholeFile(const std::string& path, Error* error = nullptr);
// Whether a replaced file reaches the disk itself before it takes the name: settings and
// records do; files that are made again when lost (cached listings, checksum lists) need not
// wait for the disk.
enum class Flush { kToDisk, kNo };
// Writes to a temporary file beside the target and renames it over the target, so a failure
// leaves the old bytes in place.
bool ReplaceFileContents(const std::string& path, const std::string& data, Error* error = nullptr,
                         Flush flush = Flush::kToDisk);

// Takes the file's rights from everyone but its owner, creating it empty when missing, so
// contents written afterwards (ReplaceFileContents keeps the mode) are never readable by
// others, not even for a moment. False when that cannot be done.
bool RestrictToOwner(const std::string& path, Error* error = nullptr);

// Unique name for a temporary file beside `path` (same folder, so a rename stays on one disk).
std::string TemporaryNameBeside(const std::string& path);

std::string CurrentFolder();  // with a native separator at the end
// For start-up only: the folder is the whole process's, and work runs on worker threads (the
// current_folder_callers test keeps it so).
bool SetCurrentFolder(const std::string& path);

}  // namespace oxlip::platform
