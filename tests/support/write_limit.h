#pragma once
// Real failures to write, without filling the machine's disk, each in a child process so that
// nothing of it outlives the call: files that may not grow beyond a limit (RLIMIT_FSIZE, the
// write fails with EFBIG), a folder made read-only by a bind mount (EROFS), or a small file
// system that is full at once (ENOSPC). Tests run as root, so rights alone make no failure.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace oxlip::test {

// Runs `work` in a child process whose files may hold at most `bytes`; what `work` returned,
// or nothing when the child did not end normally.
std::optional<std::string> InChildWithWriteLimit(std::uint64_t bytes,
                                                 const std::function<std::string()>& work);

enum class DiskFault {
  kWriteLimit,  // no file may grow beyond 0 bytes
  kReadOnly,    // `folder` is bound read-only over itself
  kFull,        // a file system of 64 KB is mounted on `folder` (hiding what it held)
};

// Runs `work` in a child process in which `folder` fails as `fault` says; what `work` returned,
// or nothing when the child did not end normally. `skipped` (when given) is set when this
// machine cannot make the fault (no mount namespace may be made); `work` has not run then.
std::optional<std::string> InChildWithFault(DiskFault fault, const std::string& folder,
                                            const std::function<std::string()>& work,
                                            bool* skipped = nullptr);

}  // namespace oxlip::test
