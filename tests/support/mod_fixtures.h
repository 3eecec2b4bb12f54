#pragma once
// Real archives and trees for the mod tests: made by the 7-Zip program and by Python's zipfile,
// read back by the 7-Zip program, so the archiver under test never checks itself.
#include <set>
#include <string>

namespace oxlip::test {

// Runs a shell command line; its exit code.
int RunShell(const std::string& line);

// `7zz <args>` in `folder` (no globbing by the shell); its exit code.
int SevenZipProgram(const std::string& folder, const std::string& args);

// tests/mods/make_zip.py with its arguments; its exit code.
int MakeZipWithPython(const std::string& args);

// The entry names of an archive as the 7-Zip program lists them, "/"-separated, folders
// included.
std::set<std::string> ProgramListing(const std::string& archive);

// Every file and folder below `folder` ("/"-separated, relative, folders ending in "/").
std::set<std::string> TreeNames(const std::string& folder);

}  // namespace oxlip::test
