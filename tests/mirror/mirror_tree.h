#pragma once
// Readers for the parts of a listing answer, and a test that asks the mirror for paths.
#include <string>
#include <vector>

#include "support/mirror_process.h"
#include "support/served_buckets.h"

namespace oxlip::test {

// The text of the first <tag> element of `xml`; "" when there is none.
std::string Element(const std::string& xml, const std::string& tag);
// The Key of every <Contents> line of a listing, in order.
std::vector<std::string> ListedKeys(const std::string& xml);
// The lines of a listing holding <Contents>.
std::vector<std::string> ContentsLines(const std::string& xml);

class ServedFolderTest : public ServedBuckets {
 protected:
  HttpAnswer Get(const std::string& path) { return HttpGet(mirror_->Url(path)); }
};

}  // namespace oxlip::test
