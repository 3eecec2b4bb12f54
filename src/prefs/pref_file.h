#pragma once
// Settings files. Each thread has at most one current preference file; every operation acts
// on the calling thread's current file, and opening or creating another closes it first.
#include <string>

namespace oxlip {

// Loads the file. 0 when it could not be opened: reads then give their defaults, and writes
// are kept and create the file on close.
int OpenPrefFile(const std::string& path);
// Makes the file current with no entries; on close it holds exactly what was written.
// 0 when the file cannot be written: reads then give defaults and writes are ignored.
int CreatePrefFile(const std::string& path);
std::string ReadPrefString(const std::string& key, const std::string& default_value);
int ReadPrefNumber(const std::string& key, int default_value);
void WritePrefString(const std::string& key, const std::string& value);
void WritePrefNumber(const std::string& key, int value);
// Writes the file back when anything was written, then releases it.
void ClosePrefFile();

}  // namespace oxlip
