// Bucket listings in the S3 form that Oxlip's listing reader expects.
#include <gtest/gtest.h>

#include "mirror_tree.h"
#include "platform/md5.h"
#include "versions/remote_list.h"
#include "versions/xml_text.h"

namespace oxlip::test {
namespace {

class MirrorListing : public ServedFolderTest {
 protected:
  void SetUp() override {
    for (const char* name :
         {"B.txt", "a b.txt", "a&b", "sub/c.txt", "sub/deeper/d.txt", "\xC3\xBC.txt"})
      Serve(std::string("download/") + name, std::string("bytes of ") + name);
    Serve("download/minecraft.jar", std::string(3000, 'j'));
    Serve("resources/x", "x");
    StartMirror();
  }

  std::string Listing(const std::string& query = "") {
    HttpAnswer answer = Get("download/" + query);
    EXPECT_EQ(answer.status, 200) << query;
    return answer.body;
  }
};

// Byte-wise: upper case before lower case, a blank before "&", "/" after ".", UTF-8 last.
const std::vector<std::string> kAllKeys = {
    "B.txt",     "a b.txt",     "a&amp;b",          "minecraft.jar", "sub/",
    "sub/c.txt", "sub/deeper/", "sub/deeper/d.txt", "\xC3\xBC.txt"};

TEST_F(MirrorListing, EveryObjectOnItsOwnLineWithItsFields) {
  std::string xml = Listing();
  EXPECT_EQ(Element(xml, "Name"), "download");
  EXPECT_EQ(Element(xml, "Prefix"), "");
  EXPECT_EQ(Element(xml, "Marker"), "");
  EXPECT_EQ(Element(xml, "MaxKeys"), "1000");
  EXPECT_EQ(Element(xml, "IsTruncated"), "false");
  EXPECT_EQ(ListedKeys(xml), kAllKeys);
  for (const std::string& line : ContentsLines(xml)) {
    EXPECT_EQ(line.find("<Contents>"), 0u) << line;
    EXPECT_EQ(line.find("</Contents>"), line.size() - 11) << line;
  }
  std::string jar = ContentsLines(xml)[3];
  EXPECT_EQ(Element(jar, "LastModified"), "2011-11-18T08:44:29.000Z");
  EXPECT_EQ(Element(jar, "ETag"), "&quot;" + platform::Md5Hex(std::string(3000, 'j')) + "&quot;");
  EXPECT_EQ(Element(jar, "Size"), "3000");
  std::string folder = ContentsLines(xml)[4];
  EXPECT_EQ(Element(folder, "Size"), "0");
  EXPECT_EQ(Element(folder, "ETag"), "&quot;" + platform::Md5Hex("") + "&quot;");
}

TEST_F(MirrorListing, MarkerAndMaxKeysPageThroughEveryKeyOnce) {
  std::vector<std::string> seen;
  std::string marker;
  int pages = 0;
  for (bool more = true; more && pages < 10; ++pages) {
    std::string xml =
        Listing("?max-keys=4&marker=" + versions::PercentEncode(versions::DecodeXmlText(marker)));
    std::vector<std::string> keys = ListedKeys(xml);
    EXPECT_EQ(Element(xml, "MaxKeys"), "4");
    more = Element(xml, "IsTruncated") == "true";
    EXPECT_EQ(keys.size(), more ? 4u : kAllKeys.size() % 4);
    if (keys.empty()) break;
    seen.insert(seen.end(), keys.begin(), keys.end());
    marker = keys.back();
  }
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(seen, kAllKeys);
  // The marker itself is left out; a marker between keys starts at the next one.
  EXPECT_EQ(ListedKeys(Listing("?marker=sub/"))[0], "sub/c.txt");
  EXPECT_EQ(ListedKeys(Listing("?marker=sub/b"))[0], "sub/c.txt");
  EXPECT_EQ(Element(Listing("?marker=sub/b"), "Marker"), "sub/b");
}

TEST_F(MirrorListing, MaxKeysIsCheckedAndCapped) {
  EXPECT_EQ(Element(Listing("?max-keys=5000"), "MaxKeys"), "1000");
  std::string none = Listing("?max-keys=0");
  EXPECT_TRUE(ListedKeys(none).empty());
  EXPECT_EQ(Element(none, "IsTruncated"), "true");
  for (const char* bad : {"?max-keys=", "?max-keys=-1", "?max-keys=ten", "?max-keys=9999999999"}) {
    HttpAnswer answer = Get(std::string("download/") + bad);
    EXPECT_EQ(answer.status, 400) << bad;
    EXPECT_NE(answer.body.find("max-keys"), std::string::npos) << bad;
  }
}

TEST_F(MirrorListing, PrefixSelectsKeysAfterDecoding) {
  EXPECT_EQ(ListedKeys(Listing("?prefix=sub/")),
            (std::vector<std::string>{"sub/", "sub/c.txt", "sub/deeper/", "sub/deeper/d.txt"}));
  EXPECT_EQ(ListedKeys(Listing("?prefix=a%20b")), std::vector<std::string>{"a b.txt"});
  EXPECT_EQ(ListedKeys(Listing("?prefix=a+b")), std::vector<std::string>{"a b.txt"});
  EXPECT_EQ(ListedKeys(Listing("?prefix=minecraft.jar&max-keys=1")),
            std::vector<std::string>{"minecraft.jar"});
  EXPECT_EQ(Element(Listing("?prefix=sub/deeper/&marker=sub/deeper/"), "Prefix"), "sub/deeper/");
  EXPECT_TRUE(ListedKeys(Listing("?prefix=none")).empty());
  EXPECT_EQ(Get("download/?prefix=%zz").status, 400);
}

TEST_F(MirrorListing, EachFolderOfTheRootIsABucket) {
  EXPECT_EQ(ListedKeys(Get("resources/").body), std::vector<std::string>{"x"});
  EXPECT_EQ(Element(Get("resources").body, "Name"), "resources");
  EXPECT_EQ(Get("assets/").status, 404);
  EXPECT_EQ(Get("").status, 404);
}

}  // namespace
}  // namespace oxlip::test
