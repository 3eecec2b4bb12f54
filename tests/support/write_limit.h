#pragma once
// A real failure to write, without a full disk: a child process whose files may not grow beyond
// a limit (RLIMIT_FSIZE), so a write past it fails as it would on a full disk.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace oxlip::test {

// Runs `work` in a child process whose files may hold at most `bytes`; what `work` returned,
// or nothing when the child did not end normally.
std::optional<std::string> InChildWithWriteLimit(std::uint64_t bytes,
                                                 const std::function<std::string()>& work);

}  // namespace oxlip::test
