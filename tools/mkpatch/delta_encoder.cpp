#include "delta_encoder.h"

#include <algorithm>
#include <cstdint>

#include "versions/patch_format.h"

namespace oxlip::mkpatch {
namespace {

using versions::kMaxCopyOffset;
using versions::kMinCopy;
using versions::kMinCopyOffset;

// A run this long at the last copy's offset is taken without looking at the other offsets:
// unchanged stretches of a file continue where the previous copy left off.
constexpr size_t kGoodEnough = 4096;

struct Match {
  int offset = 0;
  size_t length = 0;
};

size_t CommonLength(std::string_view a, std::string_view b) {
  size_t limit = std::min(a.size(), b.size()), n = 0;
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// The run of target[at...] found in `old` at `offset`, when longer than `than`.
bool TryOffset(std::string_view old, std::string_view target, size_t at, int offset, size_t than,
               Match* best) {
  std::int64_t from = static_cast<std::int64_t>(at) + offset;
  if (from < 0 || static_cast<std::uint64_t>(from) >= old.size()) return false;
  std::string_view candidate = old.substr(static_cast<size_t>(from));
  std::string_view wanted = target.substr(at);
  size_t limit = std::min(candidate.size(), wanted.size());
  // Cheap rejection: a longer run must match at the current best length first.
  if (limit <= than || candidate[than] != wanted[than]) return false;
  size_t length = CommonLength(candidate, wanted);
  if (length <= than) return false;
  *best = {offset, length};
  return true;
}

Match LongestMatch(std::string_view old, std::string_view target, size_t at, int hint) {
  Match best;
  if (TryOffset(old, target, at, hint, 0, &best) &&
      (best.length >= kGoodEnough || at + best.length == target.size()))
    return best;
  for (int offset = kMinCopyOffset; offset <= kMaxCopyOffset; ++offset)
    if (offset != hint) TryOffset(old, target, at, offset, best.length, &best);
  return best;
}

}  // namespace

std::string EncodeDelta(std::string_view old_content, std::string_view target) {
  std::string out;
  size_t at = 0, literal_start = 0;
  int hint = 0;
  while (at < target.size()) {
    Match match = LongestMatch(old_content, target, at, hint);
    if (match.length < kMinCopy) {
      ++at;
      continue;
    }
    versions::AppendInsert(target.substr(literal_start, at - literal_start), &out);
    versions::AppendCopy(match.offset, match.length, &out);
    at += match.length;
    literal_start = at;
    hint = match.offset;
  }
  versions::AppendInsert(target.substr(literal_start), &out);
  versions::AppendEnd(&out);
  return out;
}

}  // namespace oxlip::mkpatch
