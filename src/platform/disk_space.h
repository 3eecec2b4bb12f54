#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace oxlip::platform {

// Bytes an unprivileged writer may still use on the disk that holds `path`; nothing when the
// disk cannot be asked.
std::optional<std::uint64_t> FreeDiskSpace(const std::string& path);

}  // namespace oxlip::platform
