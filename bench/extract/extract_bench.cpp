// Extracting 30 MB of mixed files from archives the 7-Zip program made, one per method the
// program meets from outside: ours ("x" in-process) against "7zz x" of the same archive, to a
// tmpfs and to the disk. Prints the median times of paired runs and the median of the ratios.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "base/error_text.h"
#include "common/paired_runs.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Method {
  const char* label;
  const char* archive;   // file name
  const char* switches;  // for "7zz a"
};

const Method kMethods[] = {
    {"zip Deflate", "deflate.zip", "-tzip -mm=Deflate"},
    {"zip Deflate64", "deflate64.zip", "-tzip -mm=Deflate64"},
    {"zip stored", "stored.zip", "-tzip -mm=Copy"},
    {"7z LZMA", "lzma.7z", "-t7z -m0=LZMA"},
    {"7z LZMA2", "lzma2.7z", "-t7z -m0=LZMA2"},
    {"7z PPMd", "ppmd.7z", "-t7z -m0=PPMd"},
    {"7z BZip2", "bzip2.7z", "-t7z -m0=BZip2"},
    {"7z stored", "stored.7z", "-t7z -m0=Copy"},
};

// Words of a made-up language: text that packs about as well as source and configs do.
std::string Text(std::mt19937& random, std::size_t size) {
  static std::vector<std::string> words;
  if (words.empty()) {
    std::mt19937 own(7);
    for (int i = 0; i < 4000; ++i) {
      std::string word;
      for (int n = 2 + own() % 9; n > 0; --n) word += static_cast<char>('a' + own() % 26);
      words.push_back(word);
    }
  }
  std::string text;
  while (text.size() < size) {
    text += words[random() % words.size()];
    text += random() % 12 == 0 ? '\n' : ' ';
  }
  text.resize(size);
  return text;
}

std::string Noise(std::mt19937& random, std::size_t size) {
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(random() & 0xFF);
  return data;
}

void Write(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

// About 30 MB: packed media (a third), texts of many sizes, and many small class-like files.
void MakeTree(const fs::path& top) {
  std::mt19937 random(42);
  for (int i = 0; i < 8; ++i)
    Write(top / "media" / ("m" + std::to_string(i) + ".ogg"),
          Noise(random, 600000 + random() % 1000000));
  for (int i = 0; i < 120; ++i)
    Write(top / "docs" / std::to_string(i % 6) / ("t" + std::to_string(i) + ".txt"),
          Text(random, 20000 + random() % 250000));
  for (int i = 0; i < 1500; ++i)
    Write(top / "classes" / std::to_string(i % 20) / ("c" + std::to_string(i) + ".class"),
          Text(random, 500 + random() % 4000));
}

std::uintmax_t TreeBytes(const fs::path& top) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(top))
    if (entry.is_regular_file()) bytes += entry.file_size();
  return bytes;
}

// The program with its output thrown away; true when it ended with 0.
bool Run(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = 1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
    waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Pack(const std::string& base, const Method& method) {
  std::string line = std::string("cd '") + base + "src' && 7zz a " + method.switches + " '../" +
                     method.archive + "' . -bso0 -bsp0 >/dev/null";
  return std::system(line.c_str()) == 0;
}

bool Ours(const std::string& archive, const std::string& out) {
  if (oxlip::SevenZip(nullptr, "x \"" + archive + "\" -o\"" + out + "\" -aoa -hide", nullptr, 0) ==
      0)
    return true;
  std::fprintf(stderr, "ours failed on %s: %s\n", archive.c_str(),
               oxlip::base::LastErrorText().c_str());
  return false;
}

bool Theirs(const std::string& archive, const std::string& out) {
  return Run({"7zz", "x", archive, "-o" + out, "-aoa", "-bsp0", "-bso0"});
}

}  // namespace

// [--rounds N] [--disk DIR] [--tmpfs DIR] [--work DIR] [--only LABEL] [--ours-only] [--keep]
// [--archive FILE]: the last three run ours alone, to the tmpfs, keep the archives, or extract
// just the given archive, for profiling.
int main(int argc, char** argv) {
  int rounds = 5;
  std::string base = (fs::temp_directory_path() / "oxlip-bench-extract").string() + "/";
  std::string tmpfs = "/dev/shm/oxlip-bench-extract/", disk = base + "out/", only, archive_only;
  bool ours_only = false, keep = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--rounds" && i + 1 < argc)
      rounds = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--disk" && i + 1 < argc)
      disk = std::string(argv[++i]) + "/";
    else if (arg == "--tmpfs" && i + 1 < argc)
      tmpfs = std::string(argv[++i]) + "/";
    else if (arg == "--only" && i + 1 < argc)
      only = argv[++i];
    else if (arg == "--work" && i + 1 < argc)
      base = std::string(argv[++i]) + "/";
    else if (arg == "--ours-only")
      ours_only = true;
    else if (arg == "--keep")
      keep = true;
    else if (arg == "--archive" && i + 1 < argc)
      archive_only = argv[++i];
  }
  if (!archive_only.empty()) {
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
      fs::remove_all(tmpfs);
      std::printf("%.3f s\n", bench::Seconds([&] { ok = Ours(archive_only, tmpfs + "x") && ok; }));
    }
    fs::remove_all(tmpfs);
    return ok ? 0 : 1;
  }
  fs::remove_all(base);
  MakeTree(base + "src");
  std::printf(
      "%.1f MB in %zu files; ours: SevenZip(\"x ... -aoa\"), theirs: 7zz x ... -aoa.\n"
      "Median of %d paired runs.\n",
      TreeBytes(base + "src") / 1e6,
      static_cast<std::size_t>(std::distance(fs::recursive_directory_iterator(base + "src"),
                                             fs::recursive_directory_iterator())),
      rounds);
  bool ok = true;
  for (const Method& method : kMethods) {
    if (!only.empty() && only != method.label) continue;
    if (!Pack(base, method)) {
      std::fprintf(stderr, "7zz could not pack %s\n", method.label);
      return 1;
    }
    std::string archive = base + method.archive;
    if (ours_only) {
      for (int round = 0; round < rounds; ++round) {
        fs::remove_all(tmpfs);
        std::printf("%s: %.3f s\n", method.label,
                    bench::Seconds([&] { ok = Ours(archive, tmpfs + "x") && ok; }));
      }
      continue;
    }
    for (const auto& [where, out] : {std::pair{"tmpfs", tmpfs}, std::pair{"disk", disk}}) {
      std::string folder = out + "x";
      bench::PairedTimes times = bench::RunPaired(
          rounds, [&] { return Ours(archive, folder); }, [&] { return Theirs(archive, folder); },
          [&] { fs::remove_all(folder); }, ok);
      bench::PrintPaired(std::string(method.label) + ", to " + where, times);
      fs::remove_all(out);
    }
  }
  if (!keep) fs::remove_all(base);
  return ok ? 0 : 1;
}
