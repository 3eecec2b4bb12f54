#pragma once
// "ver.ini": records of file line, version line and four little-endian date bytes.
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "base/settings.h"
#include "versions/version_entry.h"

namespace oxlip {
namespace versions {

using VersionIndex = std::map<std::string, std::pair<std::string, platform::DateValue>>;

// A later record of the same file wins; a truncated record is dropped, nothing read past the end.
VersionIndex ParseVersionIndex(std::string_view bytes);
std::string VersionRecordBytes(const std::string& file, const std::string& version,
                               platform::DateValue date);

}  // namespace versions

// Appends one record to VersionsDir + "ver.ini"; silent on failure.
void AddVersionRecord(const base::GlobalSettings& settings, const std::string& file,
                      platform::DateValue date, const std::string& version);

}  // namespace oxlip
