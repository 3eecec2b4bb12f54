#pragma once
// The request target as received ("/path?query"), split and percent-decoded.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace oxlip::mirror {

struct RequestTarget {
  std::string path;
  std::vector<std::pair<std::string, std::string>> query;

  // The first value of `name`; nullptr when absent.
  const std::string* Param(std::string_view name) const;
};

// nullopt for a malformed escape or an escaped zero byte. In the query "+" is a blank, as
// browsers and S3 clients send it; in the path it stays.
std::optional<std::string> PercentDecode(std::string_view text, bool plus_is_blank);
std::optional<RequestTarget> ParseRequestTarget(std::string_view target);

}  // namespace oxlip::mirror
