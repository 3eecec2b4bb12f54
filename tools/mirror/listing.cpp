#include "listing.h"

#include <algorithm>
#include <cctype>
#include <ctime>

namespace oxlip::mirror {
namespace {

constexpr int kMostKeys = 1000;

std::string ContentsLine(const ObjectEntry& entry, FileDigests& digests) {
  return "<Contents><Key>" + XmlEscape(entry.key) + "</Key><LastModified>" +
         IsoUtcText(entry.modified) + "</LastModified><ETag>&quot;" + digests.Md5(entry) +
         "&quot;</ETag><Size>" + std::to_string(entry.size) +
         "</Size><StorageClass>STANDARD</StorageClass></Contents>\n";
}

}  // namespace

std::optional<ListingQuery> ReadListingQuery(const RequestTarget& target, std::string& error) {
  ListingQuery query;
  if (const std::string* prefix = target.Param("prefix")) query.prefix = *prefix;
  if (const std::string* marker = target.Param("marker")) query.marker = *marker;
  if (const std::string* max_keys = target.Param("max-keys")) {
    bool digits = !max_keys->empty() && max_keys->size() <= 9;
    for (char c : *max_keys) digits = digits && std::isdigit(static_cast<unsigned char>(c));
    if (!digits) {
      error = "max-keys '" + *max_keys + "' is not a number from 0 to 999999999";
      return std::nullopt;
    }
    query.max_keys = std::min(std::stoi(*max_keys), kMostKeys);
  }
  return query;
}

std::string ListingXml(const std::string& bucket, const ListingQuery& query,
                       const std::vector<ObjectEntry>& objects, FileDigests& digests) {
  std::string rows;
  int listed = 0;
  bool truncated = false;
  for (const ObjectEntry& entry : objects) {
    if (!entry.key.starts_with(query.prefix) || entry.key <= query.marker) continue;
    if (listed == query.max_keys) {
      truncated = true;
      break;
    }
    rows += ContentsLine(entry, digests);
    ++listed;
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<ListBucketResult xmlns=\"http://s3.amazonaws.com/doc/2006-03-01/\"><Name>" +
         XmlEscape(bucket) + "</Name><Prefix>" + XmlEscape(query.prefix) + "</Prefix><Marker>" +
         XmlEscape(query.marker) + "</Marker><MaxKeys>" + std::to_string(query.max_keys) +
         "</MaxKeys><IsTruncated>" + (truncated ? "true" : "false") + "</IsTruncated>\n" + rows +
         "</ListBucketResult>\n";
}

std::string IsoUtcText(std::time_t time) {
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000Z", &parts) == 0) return "";
  return text;
}

// As S3 writes its listings: what XML cannot hold as text, and both quotes.
std::string XmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#x27;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace oxlip::mirror
