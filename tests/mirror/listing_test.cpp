// Bucket listings in the S3 form that Oxlip's listing reader expects.
#include <gtest/gtest.h>

#include "mirror_tree.h"
#include "platform/md5.h"

namespace oxlip::test {
namespace {

using Keys = std::vector<std::string>;

class MirrorListing : public ServedFolderTest {
 protected:
  void SetUp() override {
    for (const char* name :
         {"B.txt", "a b.txt", "a&b", "sub/c.txt", "sub/deeper/d.txt", "\xC3\xBC"})
      Serve(std::string("download/") + name, std::string("bytes of ") + name);
    Serve("download/minecraft.jar", std::string(3000, 'j'));
    Serve("resources/x", "x");
    StartMirror();
  }
};

// Byte-wise: upper case before lower case, a blank before "&", "/" after ".", UTF-8 last.
const Keys kAllKeys = {"B.txt",     "a b.txt",     "a&amp;b",          "minecraft.jar", "sub/",
                       "sub/c.txt", "sub/deeper/", "sub/deeper/d.txt", "\xC3\xBC"};

TEST_F(MirrorListing, EveryObjectOnItsOwnLineWithItsFields) {
  std::string xml = Get("download/").body;
  EXPECT_EQ(Element(xml, "Name") + Element(xml, "Prefix") + Element(xml, "Marker") + " " +
                Element(xml, "MaxKeys") + " " + Element(xml, "IsTruncated"),
            "download 1000 false");
  EXPECT_EQ(ListedKeys(xml), kAllKeys);
  for (const std::string& line : ContentsLines(xml)) {
    EXPECT_EQ(line.find("<Contents>"), 0u) << line;
    EXPECT_EQ(line.find("</Contents>"), line.size() - 11) << line;
  }
  std::string jar = ContentsLines(xml)[3], folder = ContentsLines(xml)[4];
  EXPECT_EQ(Element(jar, "LastModified"), "2011-11-18T08:44:29.000Z");
  EXPECT_EQ(Element(jar, "ETag"), "&quot;" + platform::Md5Hex(std::string(3000, 'j')) + "&quot;");
  EXPECT_EQ(Element(jar, "Size"), "3000");
  EXPECT_EQ(Element(folder, "Size"), "0");
  EXPECT_EQ(Element(folder, "ETag"), "&quot;" + platform::Md5Hex("") + "&quot;");
}

// The marker is left out; one between keys starts at the next key.
TEST_F(MirrorListing, MarkerMaxKeysAndPrefix) {
  const struct {
    const char* query;
    Keys keys;
    const char* truncated;
  } cases[] = {
      {"?max-keys=4", Keys(kAllKeys.begin(), kAllKeys.begin() + 4), "true"},
      {"?max-keys=4&marker=minecraft.jar", Keys(kAllKeys.begin() + 4, kAllKeys.begin() + 8),
       "true"},
      {"?max-keys=4&marker=sub/deeper/d.txt", {"\xC3\xBC"}, "false"},
      {"?marker=sub/b&prefix=sub/", {"sub/c.txt", "sub/deeper/", "sub/deeper/d.txt"}, "false"},
      {"?max-keys=0", {}, "true"},
      {"?max-keys=5000&prefix=a%20b", {"a b.txt"}, "false"},
      {"?prefix=a+b", {"a b.txt"}, "false"},
      {"?prefix=minecraft.jar&max-keys=1", {"minecraft.jar"}, "false"},
      {"?prefix=none", {}, "false"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    HttpAnswer answer = Get(std::string("download/") + c.query);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(ListedKeys(answer.body), c.keys);
    EXPECT_EQ(Element(answer.body, "IsTruncated"), c.truncated);
  }
  EXPECT_EQ(Element(Get("download/?max-keys=5000").body, "MaxKeys"), "1000");
  EXPECT_EQ(Element(Get("download/?marker=sub/b").body, "Marker"), "sub/b");
  EXPECT_EQ(Element(Get("download/?prefix=sub/").body, "Prefix"), "sub/");
  for (const char* bad :
       {"?max-keys=", "?max-keys=-1", "?max-keys=ten", "?max-keys=9999999999", "?prefix=%zz"})
    EXPECT_EQ(Get(std::string("download/") + bad).status, 400) << bad;
  EXPECT_NE(Get("download/?max-keys=ten").body.find("max-keys"), std::string::npos);
}

TEST_F(MirrorListing, EachFolderOfTheRootIsABucket) {
  EXPECT_EQ(ListedKeys(Get("resources/").body), Keys{"x"});
  EXPECT_EQ(Element(Get("resources").body, "Name"), "resources");
  EXPECT_EQ(Get("assets/").status, 404);
  EXPECT_EQ(Get("").status, 404);
}

}  // namespace
}  // namespace oxlip::test
