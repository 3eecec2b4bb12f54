#pragma once
// S3 ListObjects (version 1) answers. Each <Contents> element is written on a line of its own,
// because Oxlip's listing reader looks for whole elements line by line.
#include <optional>
#include <string>
#include <vector>

#include "bucket_tree.h"
#include "file_digests.h"
#include "request_target.h"

namespace oxlip::mirror {

struct ListingQuery {
  std::string prefix;
  std::string marker;
  int max_keys = 1000;
};

// From the "prefix", "marker" and "max-keys" query values; nullopt with `error` set for a
// max-keys that is no number. Like S3, more than 1000 keys are never listed at once.
std::optional<ListingQuery> ReadListingQuery(const RequestTarget& target, std::string& error);

std::string ListingXml(const std::string& bucket, const ListingQuery& query,
                       const std::vector<ObjectEntry>& objects, FileDigests& digests);

// "2011-11-18T08:44:29.000Z".
std::string IsoUtcText(std::time_t time);
// The five XML special characters as entities.
std::string XmlEscape(const std::string& text);

}  // namespace oxlip::mirror
