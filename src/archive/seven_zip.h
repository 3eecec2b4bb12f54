#pragma once
// The archiver: one 7-Zip command line, executed in-process.
#include <string>

namespace oxlip {

// Runs the command ("a", "x", "e", "d" or "u" with their switches) and returns 0 exactly when
// all of it succeeded; on failure the last-error text says why. `owner` is unused (nothing is
// shown); when `buffer` is given, up to `size` bytes of a short report are written into it.
int SevenZip(void* owner, const std::string& command_line, char* buffer, int size);

// The same with the command line's relative paths (archive, names, list files, "-o") taken
// below `folder` instead of the current folder, which nothing changes after start-up. A
// folder that does not exist fails the command.
int SevenZip(void* owner, const std::string& command_line, char* buffer, int size,
             const std::string& folder);

namespace archive {

// Why the calling thread's last SevenZip call failed, in the archiver's words, which end with
// the system's reason where a system call failed ("can't write <archive>: No space left on
// device"); "" after a success. A message of the caller's own puts it after its text.
std::string SevenZipReason();

}  // namespace archive

}  // namespace oxlip
