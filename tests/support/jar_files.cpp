#include "support/jar_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/seven_zip.h"
#include "platform/fs.h"
#include "support/seven_zip_program.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

namespace fs = std::filesystem;

// Unpacks `jar` with the 7-Zip program into a fresh folder `out`.
bool Extract(const std::string& jar, const std::string& out) {
  fs::remove_all(out);
  return RunSevenZipProgram(".", "x -y '-o" + out + "' '" + jar + "'") == 0;
}

}  // namespace

void WriteTree(const std::string& folder, const JarFiles& files, platform::DateValue date) {
  for (const auto& [name, content] : files) {
    if (name.back() == '/')
      fs::create_directories(folder + name);
    else
      WriteFile(folder + name, content);
  }
  for (const auto& [name, content] : files) platform::SetFileDate(folder + name, date);
}

void MakeJar(const std::string& jar, const JarFiles& files, platform::DateValue date) {
  std::string staging = jar + ".files/";
  fs::remove_all(staging);
  fs::create_directories(staging);
  WriteTree(staging, files, date);
  int result = SevenZip(nullptr, "a -tzip \"" + jar + "\" * -r", nullptr, 0, staging);
  fs::remove_all(staging);
  ASSERT_EQ(result, 0) << jar;
}

JarFiles ReadTree(const std::string& folder) {
  JarFiles files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = fs::relative(it->path(), folder).generic_string();
    if (it->is_directory())
      files[name + "/"] = "";
    else
      files[name] = ReadFile(it->path().string());
  }
  return files;
}

JarFiles JarContents(const std::string& jar) {
  std::string out = jar + ".out/";
  JarFiles files = Extract(jar, out) ? ReadTree(out) : JarFiles{};
  fs::remove_all(out);
  return files;
}

JarFiles JarFileContents(const std::string& jar) {
  JarFiles files = JarContents(jar);
  std::erase_if(files, [](const auto& item) { return item.first.back() == '/'; });
  return files;
}

std::map<std::string, platform::DateValue> JarDates(const std::string& jar) {
  std::map<std::string, platform::DateValue> dates;
  std::string out = jar + ".out/";
  if (Extract(jar, out))
    for (const auto& [name, content] : ReadTree(out))
      if (name.back() != '/') dates[name] = platform::FileDate(out + name);
  fs::remove_all(out);
  return dates;
}

std::string MainClassBytes(const std::string& version) {
  std::string constant = "Minecraft Minecraft " + version;
  return std::string("\xCA\xFE\xBA\xBE\x00\x00\x00\x34\x01\x00", 10) +
         static_cast<char>(constant.size()) + constant + std::string(6, '\0');
}

}  // namespace oxlip::test
