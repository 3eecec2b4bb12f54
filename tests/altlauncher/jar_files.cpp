#include "jar_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

namespace fs = std::filesystem;

int Run(const std::string& folder, const std::string& args) {
  // No globbing: "*" is for 7-Zip to expand.
  std::string line = "set -f; cd '" + folder + "' && 7zz " + args + " >/dev/null 2>&1";
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool HaveSevenZip() { return std::system("command -v 7zz >/dev/null 2>&1") == 0; }

void MakeJar(const std::string& path, const JarFiles& files) {
  std::string source = path + ".src/";
  fs::create_directories(source);
  for (const auto& [name, data] : files) {
    if (name.back() == '/')
      fs::create_directories(source + name);
    else
      WriteFile(source + name, data);
  }
  fs::create_directories(fs::path(path).parent_path());
  EXPECT_EQ(Run(source, "a -tzip '" + fs::absolute(path).string() + "' '*'"), 0) << path;
  fs::remove_all(source);
}

JarFiles ReadJar(const std::string& path) {
  JarFiles files;
  std::string out = path + ".out/";
  fs::remove_all(out);
  fs::create_directories(out);
  EXPECT_EQ(Run(out, "x -y '" + fs::absolute(path).string() + "'"), 0) << path;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    std::string name = fs::relative(entry.path(), out).generic_string();
    if (entry.is_directory())
      files[name + "/"] = "";
    else
      files[name] = ReadFile(entry.path().string());
  }
  fs::remove_all(out);
  return files;
}

}  // namespace oxlip::test
