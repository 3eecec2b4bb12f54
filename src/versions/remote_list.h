#pragma once
// Bucket listings: fetched at most once an hour into the cache and parsed line by line.
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"
#include "platform/dates.h"
#include "platform/error.h"

namespace oxlip {

struct RemoteFile {
  std::string Path;  // the key with "\" for "/"
  std::string URL;
  platform::DateValue Date = 0;
  std::string ETag;
  int Size = 0;
};

namespace versions {

// One listing at a time, with a current entry and the cache prefix of its downloads.
struct RemoteFileList {
  std::vector<RemoteFile> files;
  int current = -1;
  std::string download_prefix;

  const RemoteFile* Current() const {
    return current >= 0 && current < static_cast<int>(files.size()) ? &files[current] : nullptr;
  }
};

// Every "Contents" element of one line of a listing, appended to `out`; folder keys skipped.
void ParseListingLine(std::string_view line, const std::string& listing_url,
                      std::vector<RemoteFile>& out);
void ParseListing(std::string_view text, const std::string& listing_url,
                  std::vector<RemoteFile>& out);

// A key as a URL path: every byte but letters, digits, "-", "_", ".", "~" and "/" as "%XX".
std::string PercentEncode(std::string_view key);

}  // namespace versions

// Replaces the list with the listing at `url`, cached under CacheDir + `subfolder`; the number
// of entries, 0 on failure with the error text set.
int GetMCFileList(const base::GlobalSettings& settings, versions::RemoteFileList& list,
                  const std::string& url, const std::string& subfolder);

namespace versions {

struct ListingRequest {
  std::string url;
  std::string subfolder;
};

// Fetches those of the listings that are due at the same time, so that the GetMCFileList calls
// that follow find them fresh. A listing that fails is left for its GetMCFileList to report.
void PrefetchListings(const base::GlobalSettings& settings,
                      const std::vector<ListingRequest>& requests);

}  // namespace versions

// Makes the first entry whose path equals `name` (ignoring case) current; 1 when found.
int FindRemoteFile(versions::RemoteFileList& list, const std::string& name);

namespace versions {

// Same size and an MD5 equal to the ETag.
bool MatchesRemote(const std::string& path, const RemoteFile& entry);

// Writes the "md5s" file of a game's bin folder (`bin` ends with a separator).
bool WriteMd5sFile(const std::string& bin, platform::Error* error = nullptr);

}  // namespace versions

}  // namespace oxlip
