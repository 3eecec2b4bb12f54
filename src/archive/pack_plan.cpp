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
using Twins = std::map<std::uint64_t, std::vector<std::size_t>>;

std::uint64_t Bytes(const std::vector<std::size_t>& piece, const std::vector<PlanFile>& files) {
  std::uint64_t sum = 0;
  for (std::size_t i : piece) sum += files[i].size;
  return sum;
}

// Cuts `order` into runs of about `target` bytes each, all of about equal size; one run when
// `target` is 0.
Pieces Cut(const std::vector<std::size_t>& order, const std::vector<PlanFile>& files,
           double target) {
  double total = static_cast<double>(Bytes(order, files)), done = 0;
  std::size_t count = target > 0 ? std::max<std::size_t>(1, std::llround(total / target)) : 1;
  Pieces pieces;
  for (std::size_t i : order) {
    if (pieces.empty() ||
        (pieces.size() < count &&
         done >= total * static_cast<double>(pieces.size()) / static_cast<double>(count)))
      pieces.emplace_back();
    pieces.back().push_back(i);
    done += static_cast<double>(files[i].size);
  }
  return pieces;
}

Twins FindTwins(const std::vector<PlanFile>& files) {
  Twins twins;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i].size > 0 && files[i].twin_key != 0 && files[i].packing != Packing::kStrong)
      twins[files[i].twin_key].push_back(i);
  std::erase_if(twins, [](const auto& group) { return group.second.size() < 2; });
  return twins;
}

// The files with bytes that are no twins, by kind, and the cost of all.
struct Kinds {
  std::vector<std::size_t> store, fast, strong;
  double cost = 0;
};

Kinds SortByKind(const std::vector<PlanFile>& files, const Twins& twins) {
  std::vector<bool> twin(files.size());
  for (const auto& [key, group] : twins)
    for (std::size_t i : group) twin[i] = true;
  Kinds kinds;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].size == 0) continue;
    double per_byte = twin[i] ? kTwinCostPerByte : CostPerByte(files[i].packing);
    kinds.cost += per_byte * static_cast<double>(files[i].size);
    if (twin[i]) continue;
    Packing packing = files[i].packing;
    (packing == Packing::kStore  ? kinds.store
     : packing == Packing::kFast ? kinds.fast
                                 : kinds.strong)
        .push_back(i);
  }
  return kinds;
}

}  // namespace

std::uint32_t StrongDictionaryLimit(unsigned threads) {
  std::uint32_t limit = 64 * kMiB;
  for (unsigned t = 1; t < threads && limit > 8 * kMiB; t *= 2) limit /= 2;
  return limit;
}

std::vector<FolderPlan> PlanFolders(const std::vector<PlanFile>& files, unsigned threads) {
  threads = std::max(threads, 1u);
  Twins twins = FindTwins(files);
  Kinds kinds = SortByKind(files, twins);
  std::uint32_t limit = StrongDictionaryLimit(threads);
  std::vector<std::pair<double, FolderPlan>> costed;
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
  // Quick pieces lose nothing by a cut: finer ones share out better.
  double fast_target = std::max(static_cast<double>(kSmallestFastPiece),
                                kinds.cost / (2.0 * threads) / CostPerByte(Packing::kFast));
  double strong_target = std::max(static_cast<double>(kSmallestStrongPiece), kinds.cost / threads);
  for (auto& piece : Cut(kinds.fast, files, threads == 1 ? 0 : fast_target))
    add(Packing::kFast, kFastDictionary, std::move(piece), CostPerByte(Packing::kFast));
  for (auto& piece : Cut(kinds.strong, files, threads == 1 ? 0 : strong_target))
    add(Packing::kStrong, limit, std::move(piece), CostPerByte(Packing::kStrong));
  std::stable_sort(costed.begin(), costed.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });

  std::vector<FolderPlan> plan;
  if (!kinds.store.empty()) plan.push_back({Packing::kStore, 0, kinds.store});
  for (auto& [weight, folder] : costed) plan.push_back(std::move(folder));
  return plan;
}

}  // namespace oxlip::archive
