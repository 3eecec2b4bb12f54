// Backing up a whole instance as the "Backup" command does: a generated 200 MB instance, half
// compressible text and half random bytes in a few thousand files. Ours against the 7-Zip
// program with the same switches, in one run.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "backup/backup.h"
#include "platform/fs.h"

namespace fs = std::filesystem;

namespace {

// Megabytes of each half; OXLIP_BENCH_TEXT_MB and OXLIP_BENCH_RANDOM_MB change them, so one
// half can be looked at alone.
std::size_t Megabytes(const char* variable) {
  const char* value = std::getenv(variable);
  return (value ? std::strtoul(value, nullptr, 10) : 100) * 1'000'000;
}
const std::size_t kTextBytes = Megabytes("OXLIP_BENCH_TEXT_MB");
const std::size_t kRandomBytes = Megabytes("OXLIP_BENCH_RANDOM_MB");

// Words drawn with a skewed frequency, in lines: like logs, configs and saved game text.
std::string Text(std::mt19937& random, std::size_t size, const std::vector<std::string>& words) {
  std::string out;
  out.reserve(size + 64);
  std::geometric_distribution<std::size_t> pick(0.02);
  while (out.size() < size) {
    out += words[pick(random) % words.size()];
    out += random() % 12 == 0 ? '\n' : ' ';
  }
  out.resize(size);
  return out;
}

std::string Noise(std::mt19937& random, std::size_t size) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i + 4 <= size; i += 4) {
    std::uint32_t value = random();
    std::memcpy(&out[i], &value, 4);
  }
  return out;
}

void Write(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

// About 1800 text files and 1200 region-like files of random bytes, in worlds and folders.
void MakeInstance(const fs::path& instance) {
  std::mt19937 random(7);
  std::vector<std::string> words;
  for (int i = 0; i < 4000; ++i) {
    std::string word;
    for (int n = 2 + random() % 9; n > 0; --n) word += static_cast<char>('a' + random() % 26);
    words.push_back(word);
  }
  std::size_t made = 0;
  for (int i = 0; made < kTextBytes; ++i) {
    std::size_t size = std::min<std::size_t>(kTextBytes - made, 5000 + random() % 100000);
    Write(instance / ".minecraft" / ("logs" + std::to_string(i % 30)) /
              ("text" + std::to_string(i) + ".txt"),
          Text(random, size, words));
    made += size;
  }
  made = 0;
  for (int i = 0; made < kRandomBytes; ++i) {
    std::size_t size = std::min<std::size_t>(kRandomBytes - made, 4096 + random() % 160000);
    Write(instance / ".minecraft" / "saves" / ("World" + std::to_string(i % 8)) / "region" /
              ("r." + std::to_string(i) + ".0.mcr"),
          Noise(random, size));
    made += size;
  }
  Write(instance / "settings.ini", "Name = Bench\r\n");
}

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Peak resident memory in MB of this process (ours runs in it) or of the waited-for children.
double PeakMegabytes(int who) {
  struct rusage usage {};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::size_t CountFiles(const fs::path& folder) {
  std::size_t count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    count += entry.is_regular_file();
  return count;
}

}  // namespace

int main() {
  fs::path base = fs::temp_directory_path() / "oxlip-bench-backup";
  fs::remove_all(base);
  fs::path instance = base / "Instances" / "bench";
  MakeInstance(instance);
  std::printf("instance: %zu files, %.0f MB of text and %.0f MB of random bytes\n",
              CountFiles(instance), kTextBytes / 1e6, kRandomBytes / 1e6);

  oxlip::base::GlobalSettings settings;
  settings.StartFolder = oxlip::platform::CurrentFolder();
  settings.InstancesDir = (base / "Instances").string() + "/";
  oxlip::Instance record;
  record.Name = "Bench";
  record.Folder = "bench";
  bool ok = true;
  double ours = Seconds([&] { ok = oxlip::MineCraftBackup(settings, record) == 1; });
  fs::path our_archive;
  for (const auto& entry : fs::directory_iterator(instance / "backup")) our_archive = entry.path();
  std::uintmax_t our_size = ok ? fs::file_size(our_archive) : 0;
  double our_peak = PeakMegabytes(RUSAGE_SELF);
  fs::remove_all(instance / "backup");

  std::string theirs_archive = (base / "theirs.7z").string();
  std::string command = "set -f; cd '" + instance.string() + "' && 7zz a '" + theirs_archive +
                        "' * -r -mx9 -x!backup -bso0 -bsp0 >/dev/null";
  double theirs = Seconds([&] { ok = std::system(command.c_str()) == 0 && ok; });
  double their_peak = PeakMegabytes(RUSAGE_CHILDREN);
  std::uintmax_t their_size = fs::exists(theirs_archive) ? fs::file_size(theirs_archive) : 0;

  std::printf("ours  %.1f s, %.2f MB, peak memory %.0f MB\n", ours, our_size / 1e6, our_peak);
  std::printf("7zz   %.1f s, %.2f MB, peak memory %.0f MB\n", theirs, their_size / 1e6, their_peak);
  std::printf("time ratio %.2f (ours / 7zz, target at most 1.5)\n", ours / theirs);
  std::printf("size ratio %.3f (ours / 7zz, target at most 1.05)\n",
              static_cast<double>(our_size) / static_cast<double>(their_size));
  fs::remove_all(base);
  return ok ? 0 : 1;
}
