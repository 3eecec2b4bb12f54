#pragma once
// Jars made and read by tests: packed from named contents with the archiver, read back with
// the 7-Zip program, so what the code under test writes is checked by another reader.
#include <map>
#include <string>

#include "platform/dates.h"

namespace oxlip::test {

// Name ("/"-separated; a folder ends in "/" and has no content) to content.
using JarFiles = std::map<std::string, std::string>;

// Writes the files below `folder`, each dated `date`.
void WriteTree(const std::string& folder, const JarFiles& files, platform::DateValue date);

// Packs the files into a new zip at `jar` (through a staging folder beside it).
void MakeJar(const std::string& jar, const JarFiles& files, platform::DateValue date = 1300000000);

// Everything below `folder`, folders included.
JarFiles ReadTree(const std::string& folder);

// What the 7-Zip program extracts from `jar` (empty when it fails).
JarFiles JarContents(const std::string& jar);
// The same without the folders.
JarFiles JarFileContents(const std::string& jar);

// Entry name ("/"-separated, as stored) to its date value, as the 7-Zip program lists them.
std::map<std::string, platform::DateValue> JarDates(const std::string& jar);

// The class file of the fake game holding "Minecraft Minecraft " + version as a constant.
std::string MainClassBytes(const std::string& version);

}  // namespace oxlip::test
