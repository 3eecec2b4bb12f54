// An instance backup as the program makes it, "a ... * -r -mx9 -x!backup" into a new 7z
// archive: ours against the 7-Zip program on the same generated tree of about 200 MB in a few
// thousand files, half text that compresses well (configs, logs, listings), half bytes that do
// not (worlds, sounds, jars). Prints both times, sizes and peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/seven_zip.h"
#include "platform/fs.h"

namespace fs = std::filesystem;

namespace {

// Words drawn with a falling frequency, in lines of settings, log records and prose.
class TextMaker {
 public:
  explicit TextMaker(std::mt19937& random) : random_(random) {
    std::uniform_int_distribution<int> letter('a', 'z'), length(2, 10);
    std::vector<double> weights;
    for (int i = 0; i < 5000; ++i) {
      std::string word;
      for (int n = length(random_); n > 0; --n) word += static_cast<char>(letter(random_));
      words_.push_back(word);
      weights.push_back(1.0 / (i + 1));
    }
    pick_ = std::discrete_distribution<int>(weights.begin(), weights.end());
  }

  std::string Make(std::size_t size) {
    std::string text;
    std::uniform_int_distribution<int> count(3, 15), kind(0, 9), number(0, 99999);
    while (text.size() < size) {
      int k = kind(random_);
      if (k < 3) text += "[12:" + std::to_string(number(random_) % 60) + "] [INFO] ";
      for (int n = count(random_); n > 0; --n) text += words_[pick_(random_)] + ' ';
      if (k > 6) text += "= " + std::to_string(number(random_));
      text += '\n';
    }
    text.resize(size);
    return text;
  }

 private:
  std::mt19937& random_;
  std::vector<std::string> words_;
  std::discrete_distribution<int> pick_;
};

std::string Noise(std::mt19937_64& random, std::size_t size) {
  std::string data(size + 8, '\0');
  for (std::size_t i = 0; i < size; i += 8) {
    std::uint64_t x = random();
    for (int b = 0; b < 8; ++b) data[i + b] = static_cast<char>(x >> (8 * b));
  }
  data.resize(size);
  return data;
}

void Write(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

// Sizes spread evenly on a log scale between `low` and `high`, scaled to add up to `total`.
std::vector<std::size_t> Sizes(std::mt19937& random, int count, double low, double high,
                               double total) {
  std::uniform_real_distribution<double> exponent(std::log(low), std::log(high));
  std::vector<double> raw;
  double sum = 0;
  for (int i = 0; i < count; ++i) sum += raw.emplace_back(std::exp(exponent(random)));
  std::vector<std::size_t> sizes;
  for (double r : raw) sizes.push_back(static_cast<std::size_t>(r * total / sum) + 1);
  return sizes;
}

std::uintmax_t MakeInstance(const fs::path& top) {
  std::mt19937 random(7);
  std::mt19937_64 noise(11);
  TextMaker text(random);
  const double kHalf = 100e6;
  std::uintmax_t bytes = 0;
  std::vector<std::size_t> text_sizes = Sizes(random, 2200, 300, 3e6, kHalf);
  const char* text_folders[] = {"config", "logs", "saves/World/data", "stats", "resourcepacks/t"};
  for (std::size_t i = 0; i < text_sizes.size(); ++i) {
    fs::path file = top / ".minecraft" / text_folders[i % 5] / ("f" + std::to_string(i) + ".txt");
    Write(file, text.Make(text_sizes[i]));
    bytes += text_sizes[i];
  }
  std::vector<std::size_t> noise_sizes = Sizes(random, 900, 2e3, 4e6, kHalf);
  const char* noise_folders[] = {"saves/World/region", "resources/sound", "mods", "bin"};
  for (std::size_t i = 0; i < noise_sizes.size(); ++i) {
    fs::path file = top / ".minecraft" / noise_folders[i % 4] / ("n" + std::to_string(i) + ".bin");
    Write(file, Noise(noise, noise_sizes[i]));
    bytes += noise_sizes[i];
  }
  fs::create_directories(top / ".minecraft" / "screenshots");
  Write(top / "instance.cfg", "name=Backup bench\n");
  Write(top / "backup" / "old.7z", Noise(noise, 5 << 20));  // left out
  return bytes;
}

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMegabytes(int who) {
  struct rusage usage {};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool Program(const std::string& folder, const std::string& args) {
  std::string line = "set -f; cd '" + folder + "' && 7zz " + args + " -bso0 -bsp0 >/dev/null";
  return std::system(line.c_str()) == 0;
}

}  // namespace

int main() {
  std::string base = (fs::temp_directory_path() / "oxlip-bench-sevenz").string() + "/";
  fs::remove_all(base);
  std::string ours_dir = base + "ours/", theirs_dir = base + "theirs/";
  std::uintmax_t bytes = MakeInstance(ours_dir);
  fs::copy(ours_dir, theirs_dir, fs::copy_options::recursive);
  std::printf("instance of %.1f MB (half text, half random) into a new 7z with -mx9\n",
              static_cast<double>(bytes) / 1e6);

  bool ok = true;
  double ours = Seconds([&] {
    oxlip::platform::SetCurrentFolder(ours_dir);
    ok = oxlip::SevenZip(nullptr, "a \"backup\\1000 - inst.7z\" * -r -mx9 -x!backup", nullptr, 0) ==
         0;
    oxlip::platform::SetCurrentFolder(base);
  });
  double ours_peak = PeakMegabytes(RUSAGE_SELF);
  double theirs = Seconds(
      [&] { ok = Program(theirs_dir, "a \"backup/1000 - inst.7z\" * -r -mx9 -xr-!backup") && ok; });
  double theirs_peak = PeakMegabytes(RUSAGE_CHILDREN);
  std::string ours_archive = ours_dir + "backup/1000 - inst.7z";
  std::string theirs_archive = theirs_dir + "backup/1000 - inst.7z";
  ok = ok && Program(base, "t '" + ours_archive + "'");
  double ours_size = static_cast<double>(fs::file_size(ours_archive));
  double theirs_size = static_cast<double>(fs::file_size(theirs_archive));
  std::printf("time  ours %7.2f s   7zz %7.2f s   ratio %.2f\n", ours, theirs, ours / theirs);
  std::printf("size  ours %7.2f MB  7zz %7.2f MB  ratio %.3f\n", ours_size / 1e6, theirs_size / 1e6,
              ours_size / theirs_size);
  std::printf("peak  ours %7.0f MB  7zz %7.0f MB (resident)\n", ours_peak, theirs_peak);
  fs::remove_all(base);
  if (!ok) std::printf("FAILED: a step did not succeed\n");
  return ok ? 0 : 1;
}
