#pragma once
// Jars and zips for the stamp tests, made and read back by the 7-Zip program, so the archiver
// under test never checks itself.
#include <map>
#include <string>

namespace oxlip::test {

// Entry name ("/"-separated) to content; a name ending in "/" is a folder.
using JarFiles = std::map<std::string, std::string>;

bool HaveSevenZip();
void MakeJar(const std::string& path, const JarFiles& files);
// Everything the jar holds, folders included; fails the test when 7-Zip cannot read it.
JarFiles ReadJar(const std::string& path);

}  // namespace oxlip::test
