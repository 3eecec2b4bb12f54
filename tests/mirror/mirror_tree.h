#pragma once
// A small served folder for the mirror tests, with fixed file times, and readers for the
// parts of a listing answer.
#include <ctime>
#include <string>
#include <vector>

#include "support/mirror_process.h"
#include "support/served_buckets.h"
#include "support/temp_folder.h"

namespace oxlip::test {

// 2011-11-18T08:44:29Z
constexpr std::time_t kFileTime = 1321605869;

// Writes root/`relative` with `data` and the time kFileTime.
void WriteServedFile(const std::string& root, const std::string& relative, const std::string& data);

// The text of the first <tag> element of `xml`; "" when there is none.
std::string Element(const std::string& xml, const std::string& tag);
// The Key of every <Contents> line of a listing, in order.
std::vector<std::string> ListedKeys(const std::string& xml);
// The lines of a listing holding <Contents>.
std::vector<std::string> ContentsLines(const std::string& xml);

// A test that serves root_ with the mirror once StartMirror() is called.
class ServedFolderTest : public ServedBuckets {
 protected:
  HttpAnswer Get(const std::string& path) { return HttpGet(mirror_->Url(path)); }
};

}  // namespace oxlip::test
