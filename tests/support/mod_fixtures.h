#pragma once
// Real archives and trees for the mod tests: made by the 7-Zip program and by Python's zipfile,
// read back by the 7-Zip program, so the archiver under test never checks itself.
#include <set>
#include <string>

#include "support/seven_zip_program.h"

namespace oxlip::test {

// The name the mod, app and GUI tests know the 7-Zip runner by.
inline int SevenZipProgram(const std::string& folder, const std::string& args) {
  return RunSevenZipProgram(folder, args);
}

// tests/mods/make_zip.py with its arguments; its exit code.
int MakeZipWithPython(const std::string& args);

// The entry names of an archive as the 7-Zip program lists them, "/"-separated, folders
// included.
std::set<std::string> ProgramListing(const std::string& archive);

// The names of ReadTree (jar_files.h): relative, "/"-separated, folders ending in "/".
std::set<std::string> TreeNames(const std::string& folder);

}  // namespace oxlip::test
