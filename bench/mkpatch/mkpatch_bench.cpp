// Downgrade patches between two close game versions: two generated jars of about 5 MB whose
// classes differ in 5% (small edits, as a recompiled class differs). Prints the patch size
// against the new jar and the time to make the patch (oxlip-mkpatch) and to apply it
// (Downgrade: unpack, rebuild, pack); fails unless the result has the new jar's files and the
// patch is under a tenth of the new jar.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "base/settings.h"
#include "platform/fs.h"
#include "versions/downgrade.h"

namespace fs = std::filesystem;

namespace {

constexpr int kClasses = 2180;
constexpr int kChangedEvery = 20;  // 5%

using Files = std::map<std::string, std::string>;

// Code-like bytes: short instruction sequences that recur, with operands between them.
std::string Code(std::mt19937& random) {
  static const std::vector<std::string> snippets = [] {
    std::mt19937 pool(7);
    std::vector<std::string> out(64);
    for (std::string& snippet : out)
      for (size_t i = 0, n = 3 + pool() % 10; i < n; ++i) snippet += static_cast<char>(pool());
    return out;
  }();
  std::string out;
  for (size_t size = 2000 + random() % 4000; out.size() < size;) {
    out += snippets[random() % snippets.size()];
    if (random() % 2) out += static_cast<char>(random());
  }
  return out;
}

// Constant-pool-like names and code: deflates to about half, as class files do.
std::string ClassBytes(std::mt19937& random) {
  static const char* kWords[] = {"get",
                                 "set",
                                 "render",
                                 "update",
                                 "tick",
                                 "entity",
                                 "world",
                                 "block",
                                 "item",
                                 "player",
                                 "chunk",
                                 "Ljava/lang/String;",
                                 "(II)V",
                                 "()Z",
                                 "net/minecraft/src/",
                                 "Code",
                                 "LineNumberTable"};
  std::string out("\xCA\xFE\xBA\xBE\x00\x00\x00\x32", 8);
  int constants = 40 + random() % 80;
  for (int i = 0; i < constants; ++i) {
    std::string word = kWords[random() % std::size(kWords)];
    word += std::to_string(random() % 1000);
    out += '\x01';
    out += static_cast<char>(word.size() >> 8);
    out += static_cast<char>(word.size());
    out += word;
  }
  return out + Code(random);
}

// A few local edits: bytes replaced, inserted and removed, the way a small source change
// shifts a class file by some bytes.
std::string Edited(std::string bytes, std::mt19937& random) {
  for (int edits = 0; edits < 4; ++edits) {
    size_t at = 8 + random() % (bytes.size() - 64);
    switch (random() % 3) {
      case 0:
        for (size_t i = 0; i < 1 + random() % 8; ++i) bytes[at + i] = static_cast<char>(random());
        break;
      case 1:
        bytes.insert(at, std::string(1 + random() % 30, static_cast<char>(random())));
        break;
      default:
        bytes.erase(at, 1 + random() % 30);
    }
  }
  return bytes;
}

void WriteFiles(const std::string& folder, const Files& files) {
  for (const auto& [name, data] : files) {
    fs::path path = fs::path(folder) / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
  }
}

bool Pack(const std::string& folder, const std::string& jar) {
  return oxlip::SevenZip(nullptr, "a -tzip \"" + jar + "\" * -r -mx9", nullptr, 0, folder) == 0;
}

Files Unpacked(const std::string& jar, const std::string& folder) {
  Files files;
  if (oxlip::SevenZip(nullptr, "x \"" + jar + "\" -aoa -hide -o\"" + folder + "/\"", nullptr, 0))
    return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), folder).generic_string()].assign(
        std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  std::string base = (fs::temp_directory_path() / "oxlip-bench-mkpatch").string() + "/";
  fs::remove_all(base);
  oxlip::base::GlobalSettings settings;
  settings.StartFolder = base;
  settings.VersionsDir = base + "mcversions/";
  settings.PatchDir = base + "downgrade/";
  settings.CacheDir = base + "Cache/";
  for (const std::string& folder : {settings.VersionsDir, settings.PatchDir, settings.CacheDir})
    fs::create_directories(folder);
  fs::current_path(base);

  std::mt19937 random(20240601);
  Files source, target;
  for (int i = 0; i < kClasses; ++i) {
    std::string name = "net/minecraft/src/c" + std::to_string(i) + ".class";
    source[name] = ClassBytes(random);
    target[name] = i % kChangedEvery == 0 ? Edited(source[name], random) : source[name];
  }
  WriteFiles(base + "source", source);
  WriteFiles(base + "target", target);
  std::string source_jar = settings.VersionsDir + "minecraft - 2.0.jar";
  std::string target_jar = base + "minecraft - 1.9.jar";
  if (!Pack(base + "source", source_jar) || !Pack(base + "target", target_jar)) {
    std::fprintf(stderr, "packing the jars failed: %s\n", oxlip::base::LastErrorText().c_str());
    return 1;
  }

  std::string make = std::string(OXLIP_MKPATCH_PATH) + " '" + source_jar + "' '" + target_jar +
                     "' '" + settings.PatchDir + "'";
  int made = 0;
  double make_seconds = Seconds([&] { made = std::system(make.c_str()); });
  int applied = 0;
  std::string work = settings.CacheDir + "patch/";
  fs::create_directories(work);
  double apply_seconds =
      Seconds([&] { applied = oxlip::Downgrade(settings, source_jar, work, nullptr, 0, 1); });
  if (made != 0 || applied != 1) {
    std::fprintf(stderr, "making or applying the patch failed: %s\n",
                 oxlip::base::LastErrorText().c_str());
    return 1;
  }
  bool same = Unpacked(settings.VersionsDir + "minecraft - 1.9.jar", base + "check-made") ==
              Unpacked(target_jar, base + "check-target");

  auto patch_size = fs::file_size(settings.PatchDir + "minecraft - 2.0#minecraft - 1.9.patch");
  auto jar_size = fs::file_size(target_jar);
  double share = 100.0 * static_cast<double>(patch_size) / static_cast<double>(jar_size);
  std::printf("jars: %d classes, %d changed; old %.2f MB, new %.2f MB\n", kClasses,
              kClasses / kChangedEvery, fs::file_size(source_jar) / 1e6, jar_size / 1e6);
  std::printf("patch: %ju bytes, %.2f%% of the new jar (limit 10%%)\n",
              static_cast<std::uintmax_t>(patch_size), share);
  std::printf("make (oxlip-mkpatch): %.3f s\n", make_seconds);
  std::printf("apply (Downgrade: unpack, rebuild, pack): %.3f s\n", apply_seconds);
  std::printf("result: %s\n", same ? "the new jar's files, bit for bit" : "DIFFERS");
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(base);
  return same && share < 10.0 ? 0 : 1;
}
