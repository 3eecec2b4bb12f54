#include "archive/packing_choice.h"

#include <lzma.h>

#include <array>
#include <cmath>

#include "platform/random_access_file.h"

namespace oxlip::archive {
namespace {

constexpr std::size_t kRegion = 16 << 10;
constexpr std::size_t kFewest = 1 << 10;  // fewer bytes tell too little: strongest search
constexpr double kNearlyRandom = 7.5;

// Random bytes measured on `n` of them fall short of 8 bits by about 255 / (2 n ln 2), give or
// take about 16 / n; five times that and a little more is allowed.
double RandomFloor(std::size_t n) {
  double count = static_cast<double>(n);
  return 8.0 - 255.0 / (2.0 * count * std::log(2.0)) - 0.005 - 80.0 / count;
}

}  // namespace

std::optional<FileSample> SampleFile(const std::string& path, std::uint64_t size) {
  platform::RandomAccessFile file;
  if (!file.OpenForReading(path)) return std::nullopt;
  FileSample sample;
  auto take = [&](std::uint64_t at, std::size_t count) {
    std::size_t had = sample.bytes.size();
    sample.bytes.resize(had + count);
    std::int64_t got = file.ReadAt(static_cast<std::int64_t>(at), sample.bytes.data() + had, count);
    sample.bytes.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
    return got >= 0;
  };
  bool ok = size <= 3 * kRegion ? take(0, static_cast<std::size_t>(size))
                                : take(0, kRegion) && take(size / 2 - kRegion / 2, kRegion) &&
                                      take(size - kRegion, kRegion);
  if (!ok) return std::nullopt;
  sample.crc = lzma_crc32(reinterpret_cast<const std::uint8_t*>(sample.bytes.data()),
                          sample.bytes.size(), 0);
  return sample;
}

double ByteEntropy(std::string_view bytes) {
  if (bytes.empty()) return 0;
  std::array<std::size_t, 256> counts{};
  for (char c : bytes) ++counts[static_cast<std::uint8_t>(c)];
  double n = static_cast<double>(bytes.size()), sum = 0;
  for (std::size_t count : counts)
    if (count > 0) sum += static_cast<double>(count) * std::log2(static_cast<double>(count));
  return std::log2(n) - sum / n;
}

Packing ChoosePacking(std::string_view sample) {
  if (sample.size() < kFewest) return Packing::kStrong;
  double entropy = ByteEntropy(sample);
  if (entropy >= RandomFloor(sample.size())) return Packing::kStore;
  return entropy >= kNearlyRandom ? Packing::kFast : Packing::kStrong;
}

}  // namespace oxlip::archive
