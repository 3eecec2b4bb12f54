#pragma once
// Which files go into which solid folder. Folders are packed at the same time, one per worker
// thread, so the work is cut into pieces of about equal cost; data that compresses is cut as
// little as that allows, since each cut loses what one piece could have found in the other.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/lzma2_encoder.h"

namespace oxlip::archive {

struct PlanFile {
  std::uint64_t size = 0;
  Packing packing = Packing::kStrong;
  // Files that hardly compress but share a non-zero key (size and sample) are likely copies of
  // each other: they are packed side by side with a dictionary that reaches back over one of
  // them, so the copy costs next to nothing.
  std::uint64_t twin_key = 0;
};

struct FolderPlan {
  Packing packing = Packing::kStrong;
  std::uint32_t dictionary = 0;
  std::vector<std::size_t> files;  // indices into the planned files, in packing order
};

// The largest dictionary of the strongest search when `threads` encoders run at once: about
// 700 MB of encoder memory in all at most, as the 7-Zip program takes at its strongest.
std::uint32_t StrongDictionaryLimit(unsigned threads);

// Every file with bytes lands in exactly one folder; files keep their order within a kind.
// Stored data comes first (it costs nothing to pack and can go straight to the archive), then
// the folders by falling cost, so the longest work starts first.
std::vector<FolderPlan> PlanFolders(const std::vector<PlanFile>& files, unsigned threads);

}  // namespace oxlip::archive
