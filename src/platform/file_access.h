#pragma once
// Whether a file may be changed, the way the settings files judge it.
#include <string>

namespace oxlip::platform {

enum class FileAccess { kWritable, kReadOnly, kMissing };

// A file whose write bits are all clear counts as read-only even for root, as the read-only
// attribute does where these files come from.
FileAccess ProbeFileAccess(const std::string& path);

// The path with every link resolved, so that writing through a link updates the file it
// points to instead of replacing the link; the path itself when it cannot be resolved.
std::string ResolveLinks(const std::string& path);

}  // namespace oxlip::platform
