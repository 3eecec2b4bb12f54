#pragma once
// A small served folder for the mirror tests, with fixed file times, and readers for the
// parts of a listing answer.
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "support/mirror_process.h"
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
// Every byte but letters and digits as "%XX".
std::string UrlEncode(const std::string& text);
// "&amp;" and the other four XML entities back to their characters.
std::string XmlUnescape(const std::string& text);
// The lines of a listing holding <Contents>.
std::vector<std::string> ContentsLines(const std::string& xml);

// A test that serves root_ with the mirror once Start() is called.
class ServedFolderTest : public InTempFolder {
 protected:
  void Start(const std::vector<std::string>& options = {}) {
    mirror_ = std::make_unique<MirrorProcess>(root_, options);
    ASSERT_GT(mirror_->port(), 0);
  }
  HttpAnswer Get(const std::string& path) { return HttpGet(mirror_->Url(path)); }

  std::string root_ = dir() + "root/";
  std::unique_ptr<MirrorProcess> mirror_;
};

}  // namespace oxlip::test
