// The fixture root as the mirror serves it: what the download engine's tests rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "mirror_tree.h"
#include "platform/md5.h"
#include "support/fixture_paths.h"

namespace oxlip::test {
namespace {

class FixtureRootServed : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GT(mirror_.port(), 0); }

  // Every key of a bucket, fetched in pages of `page` keys.
  std::vector<std::string> AllKeys(const std::string& bucket, int page, int& pages) {
    std::vector<std::string> keys;
    std::string marker;
    for (pages = 1; pages < 100; ++pages) {
      std::string xml = HttpGet(mirror_.Url(bucket + "/?max-keys=" + std::to_string(page) +
                                            "&marker=" + UrlEncode(marker)))
                            .body;
      std::vector<std::string> more = ListedKeys(xml);
      keys.insert(keys.end(), more.begin(), more.end());
      if (Element(xml, "IsTruncated") != "true" || more.empty()) break;
      marker = XmlUnescape(more.back());
    }
    return keys;
  }

  MirrorProcess mirror_{FixtureRoot()};
};

TEST_F(FixtureRootServed, DownloadBucketHoldsTheGameFiles) {
  std::string xml = HttpGet(mirror_.Url("download/")).body;
  EXPECT_EQ(ListedKeys(xml),
            (std::vector<std::string>{"jinput.jar", "launcher/", "launcher/MinecraftLauncher.jar",
                                      "linux_natives.jar.lzma", "lwjgl.jar", "lwjgl_util.jar",
                                      "minecraft.jar", "windows_natives.jar.lzma"}));
  std::string jar = ContentsLines(xml)[6];
  EXPECT_EQ(Element(jar, "LastModified"), "2012-04-04T10:41:02.000Z");
  int size = std::stoi(Element(jar, "Size"));
  EXPECT_GT(size, 5000000);
  EXPECT_LT(size, 5100000);
  HttpAnswer body = HttpGet(mirror_.Url("download/minecraft.jar"));
  EXPECT_EQ(static_cast<int>(body.body.size()), size);
  EXPECT_EQ(Element(jar, "ETag"), "&quot;" + platform::Md5Hex(body.body) + "&quot;");
  EXPECT_EQ(body.body.substr(0, 2), "PK");
  // The natives are LZMA-alone files, which start with the properties byte 0x5D.
  EXPECT_EQ(HttpGet(mirror_.Url("download/linux_natives.jar.lzma")).body.substr(0, 1), "\x5D");
}

TEST_F(FixtureRootServed, ResourcesCountAcrossPages) {
  int pages = 0;
  std::vector<std::string> keys = AllKeys("resources", 100, pages);
  int files = 0;
  for (const std::string& key : keys) files += key.ends_with('/') ? 0 : 1;
  EXPECT_EQ(files, kFixtureResourceFiles);
  EXPECT_EQ(pages, static_cast<int>(keys.size() + 99) / 100);
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  EXPECT_NE(std::find(keys.begin(), keys.end(), "sound/random/door open.ogg"), keys.end());
  EXPECT_EQ(HttpGet(mirror_.Url("resources/sound/random/door%20open.ogg")).body.substr(0, 4),
            "OggS");
}

TEST_F(FixtureRootServed, NewestBetaJarIsTheOneNamed) {
  std::string newest_date;
  std::string newest_key;
  for (const std::string& line : ContentsLines(HttpGet(mirror_.Url("assets/")).body)) {
    std::string key = Element(line, "Key");
    std::string upper = key;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool jar = upper.ends_with("/MINECRAFT.JAR");
    if (jar && Element(line, "LastModified") > newest_date) {
      newest_date = Element(line, "LastModified");
      newest_key = key;
    }
  }
  EXPECT_EQ(newest_key, kFixtureNewestBetaKey);
  EXPECT_EQ(newest_date, "2012-02-23T15:00:00.000Z");
}

}  // namespace
}  // namespace oxlip::test
