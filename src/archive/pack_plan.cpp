#include "archive/pack_plan.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace oxlip::archive {
namespace {

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kSmallestStrongPiece = kMiB / 2;
constexpr std::uint64_t kSmallestFastPiece = kMiB;
constexpr std::uint32_t kFastDictionary = 256 << 10;

// Time per byte relative to the strongest search, as measured on one core.
double CostPerByte(Packing packing) {
  switch (packing) {
    case Packing::kStrong:
      return 1.0;
    case Packing::kFast:
      return 0.15;
    case Packing::kStore:
      break;
  }
  return 0.01;
}
constexpr double kTwinCostPerByte = 0.5;

using Pieces = std::vector<std::vector<std::size_t>>;

// Cuts `order` into at most `count` runs of about equal bytes.
Pieces SplitEvenly(const std::vector<std::size_t>& order, const std::vector<PlanFile>& files,
                   std::size_t count) {
  double total = 0, done = 0;
  for (std::size_t i : order) total += static_cast<double>(files[i].size);
  Pieces pieces(1);
  for (std::size_t i : order) {
    if (!pieces.back().empty() && pieces.size() < count &&
        done >= total * static_cast<double>(pieces.size()) / static_cast<double>(count))
      pieces.emplace_back();
    pieces.back().push_back(i);
    done += static_cast<double>(files[i].size);
  }
  return pieces;
}

std::uint64_t Bytes(const std::vector<std::size_t>& piece, const std::vector<PlanFile>& files) {
  std::uint64_t sum = 0;
  for (std::size_t i : piece) sum += files[i].size;
  return sum;
}

std::size_t PieceCount(std::uint64_t bytes, double target) {
  return std::max<std::size_t>(1, std::llround(static_cast<double>(bytes) / target));
}

}  // namespace

std::uint32_t StrongDictionaryLimit(unsigned threads) {
  std::uint32_t limit = 64 * kMiB;
  for (unsigned t = 1; t < threads && limit > 8 * kMiB; t *= 2) limit /= 2;
  return limit;
}

std::vector<FolderPlan> PlanFolders(const std::vector<PlanFile>& files, unsigned threads) {
  threads = std::max(threads, 1u);
  std::map<std::uint64_t, std::vector<std::size_t>> twins;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i].size > 0 && files[i].twin_key != 0 && files[i].packing != Packing::kStrong)
      twins[files[i].twin_key].push_back(i);
  std::erase_if(twins, [](const auto& group) { return group.second.size() < 2; });
  std::vector<bool> twin(files.size());
  for (const auto& [key, group] : twins)
    for (std::size_t i : group) twin[i] = true;

  std::vector<std::size_t> store, fast, strong;
  double cost = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].size == 0) continue;
    double per_byte = twin[i] ? kTwinCostPerByte : CostPerByte(files[i].packing);
    cost += per_byte * static_cast<double>(files[i].size);
    if (twin[i]) continue;
    (files[i].packing == Packing::kStore  ? store
     : files[i].packing == Packing::kFast ? fast
                                          : strong)
        .push_back(i);
  }

  std::vector<std::pair<double, FolderPlan>> costed;
  std::uint32_t limit = StrongDictionaryLimit(threads);
  auto add = [&](Packing packing, std::uint64_t dictionary, std::vector<std::size_t> piece,
                 double per_byte) {
    std::uint64_t bytes = Bytes(piece, files);
    costed.push_back(
        {per_byte * static_cast<double>(bytes),
         {packing, static_cast<std::uint32_t>(std::min(dictionary, bytes)), std::move(piece)}});
  };
  for (auto& [key, group] : twins) {
    std::uint64_t largest = 0;
    for (std::size_t i : group) largest = std::max(largest, files[i].size);
    add(Packing::kFast, std::min<std::uint64_t>(largest + 1, limit), group, kTwinCostPerByte);
  }
  double fast_target = std::max(static_cast<double>(kSmallestFastPiece),
                                cost / (2.0 * threads) / CostPerByte(Packing::kFast));
  std::uint64_t fast_bytes = 0, strong_bytes = 0;
  for (std::size_t i : fast) fast_bytes += files[i].size;
  for (std::size_t i : strong) strong_bytes += files[i].size;
  if (threads == 1) fast_target = static_cast<double>(fast_bytes + 1);
  for (auto& piece : SplitEvenly(fast, files, PieceCount(fast_bytes, fast_target)))
    if (!piece.empty())
      add(Packing::kFast, kFastDictionary, std::move(piece), CostPerByte(Packing::kFast));
  double strong_target = threads == 1
                             ? static_cast<double>(strong_bytes + 1)
                             : std::max(static_cast<double>(kSmallestStrongPiece), cost / threads);
  for (auto& piece : SplitEvenly(strong, files, PieceCount(strong_bytes, strong_target)))
    if (!piece.empty())
      add(Packing::kStrong, limit, std::move(piece), CostPerByte(Packing::kStrong));
  std::stable_sort(costed.begin(), costed.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });

  std::vector<FolderPlan> plan;
  if (!store.empty()) plan.push_back({Packing::kStore, 0, store});
  for (auto& [weight, folder] : costed) plan.push_back(std::move(folder));
  return plan;
}

}  // namespace oxlip::archive
