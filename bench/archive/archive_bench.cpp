// Patching a game jar as the mod installation does: 300 small class files into a 5 MB jar,
// then META-INF out of it. Ours against the 7-Zip program on the same input, in one run.
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "archive/seven_zip.h"

namespace fs = std::filesystem;

namespace {

std::string ClassBytes(std::mt19937& random, std::size_t size) {
  static const char kAlphabet[] = "abcdefghijklmnop";
  std::string data(size, '\0');
  for (char& c : data) c = kAlphabet[random() % 16];
  return data;
}

// About 5 MB of deflated entries, a META-INF folder among them.
void MakeGameJar(const std::string& path, std::mt19937& random) {
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  static std::vector<std::string> keep;  // libzip reads the buffers at close
  keep.clear();
  keep.reserve(1301);
  keep.push_back("Manifest-Version: 1.0\n");
  zip_file_add(zip, "META-INF/MANIFEST.MF",
               zip_source_buffer(zip, keep.back().data(), keep.back().size(), 0), 0);
  for (int i = 0; i < 1300; ++i) {
    keep.push_back(ClassBytes(random, 7000));
    std::string name = "net/minecraft/src/c" + std::to_string(i) + ".class";
    zip_file_add(zip, name.c_str(),
                 zip_source_buffer(zip, keep.back().data(), keep.back().size(), 0), 0);
  }
  zip_close(zip);
}

void MakeStaging(const std::string& folder, std::mt19937& random) {
  for (int i = 0; i < 300; ++i) {
    fs::path file = fs::path(folder) / ("mod/m" + std::to_string(i) + ".class");
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << ClassBytes(random, 1000 + random() % 2000);
  }
  fs::create_directories(fs::path(folder) / "META-INF");
  std::ofstream(fs::path(folder) / "META-INF/MOD.SF") << "signature";
}

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Ours(const std::string& jar, const std::string& staging) {
  return oxlip::SevenZip(nullptr, "a \"" + jar + "\" \"" + staging + "\\\" -r -mx9 -x!meta-inf",
                         nullptr, 0) == 0 &&
         oxlip::SevenZip(nullptr, "d \"" + jar + "\" META-INF ", nullptr, 0) == 0;
}

bool Theirs(const std::string& jar, const std::string& staging) {
  std::string quiet = " -ssc- -bso0 -bsp0 >/dev/null";
  std::string add =
      "set -f; cd '" + staging + "' && 7zz a -tzip '" + jar + "' * -r -mx9 -xr-!meta-inf" + quiet;
  std::string del = "7zz d '" + jar + "' META-INF" + quiet;
  return std::system(add.c_str()) == 0 && std::system(del.c_str()) == 0;
}

}  // namespace

int main() {
  std::string base = (fs::temp_directory_path() / "oxlip-bench-archive").string() + "/";
  fs::remove_all(base);
  fs::create_directories(base);
  std::mt19937 random(42);
  MakeGameJar(base + "game.jar", random);
  MakeStaging(base + "staging", random);
  std::printf("jar %.1f MB, 300 class files added, META-INF removed (best of 3)\n",
              fs::file_size(base + "game.jar") / 1e6);
  double ours = 1e9, theirs = 1e9;
  bool ok = true;
  for (int round = 0; round < 3; ++round) {
    fs::copy_file(base + "game.jar", base + "ours.jar", fs::copy_options::overwrite_existing);
    fs::copy_file(base + "game.jar", base + "theirs.jar", fs::copy_options::overwrite_existing);
    ours = std::min(ours, Seconds([&] { ok = Ours(base + "ours.jar", base + "staging") && ok; }));
    theirs = std::min(theirs,
                      Seconds([&] { ok = Theirs(base + "theirs.jar", base + "staging") && ok; }));
  }
  std::printf("ours  %.3f s\n7zz   %.3f s\nratio %.2f (ours / 7zz)\n", ours, theirs, ours / theirs);
  std::printf("jars: ours %.2f MB, 7zz %.2f MB\n", fs::file_size(base + "ours.jar") / 1e6,
              fs::file_size(base + "theirs.jar") / 1e6);
  fs::remove_all(base);
  return ok ? 0 : 1;
}
