// Injected failures, from the command line and from the control requests.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>

#include "mirror_tree.h"
#include "platform/md5.h"

namespace oxlip::test {
namespace {

const std::string kJar = [] {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>((i * 31) ^ (i >> 8));
  return bytes;
}();

class MirrorFaults : public ServedFolderTest {
 protected:
  void SetUp() override {
    Serve("download/minecraft.jar", kJar);
    Serve("download/lwjgl.jar", "lwjgl");
  }
};

TEST_F(MirrorFaults, DropPromisesEveryByteAndSendsHalf) {
  StartMirror({"--fault", "drop:/download/minecraft.jar"});
  HttpAnswer answer = Get("download/minecraft.jar");
  EXPECT_EQ(answer.curl_code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body, kJar.substr(0, kJar.size() / 2));
  EXPECT_EQ(Get("download/lwjgl.jar").body, "lwjgl");
}

TEST_F(MirrorFaults, WrongKeepsTheLengthAndChangesTheBytes) {
  StartMirror({"--fault", "wrong:/download/"});
  HttpAnswer answer = Get("download/minecraft.jar");
  EXPECT_EQ(answer.curl_code, CURLE_OK);
  EXPECT_EQ(answer.body.size(), kJar.size());
  EXPECT_NE(platform::Md5Hex(answer.body), platform::Md5Hex(kJar));
  EXPECT_NE(Get("download/lwjgl.jar").body, "lwjgl");
}

TEST_F(MirrorFaults, SlowTakesAboutTwoSecondsAndDeliversEverything) {
  StartMirror({"--fault", "slow:/download/minecraft"});
  auto start = std::chrono::steady_clock::now();
  HttpAnswer answer = Get("download/minecraft.jar");
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(answer.curl_code, CURLE_OK);
  EXPECT_TRUE(answer.body == kJar);
  EXPECT_GE(took, std::chrono::milliseconds(1800));
  EXPECT_LT(took, std::chrono::seconds(20));
}

TEST_F(MirrorFaults, ErrorStatusesAndCountsPerRule) {
  StartMirror({"--fault", "500:/download/minecraft.jar:2", "--fault", "404:/download/lwjgl"});
  EXPECT_EQ(Get("download/minecraft.jar").status, 500);
  EXPECT_EQ(Get("download/minecraft.jar").status, 500);
  EXPECT_EQ(Get("download/minecraft.jar").status, 200);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get("download/lwjgl.jar").status, 404);
  // Listings are requests too; this prefix does not reach them.
  EXPECT_EQ(Get("download/").status, 200);
}

TEST_F(MirrorFaults, ControlRequestsChangeRulesWhileRunning) {
  StartMirror();
  ASSERT_TRUE(mirror_->AddFault("404:/download/:1"));
  ASSERT_TRUE(mirror_->AddFault("drop:/download/minecraft.jar"));
  EXPECT_EQ(Get("download/minecraft.jar").status, 404);  // the first rule, used up
  EXPECT_EQ(Get("download/minecraft.jar").curl_code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(Get("download/minecraft.jar").curl_code, CURLE_PARTIAL_FILE);
  ASSERT_TRUE(mirror_->ClearFaults());
  EXPECT_TRUE(Get("download/minecraft.jar").body == kJar);
  HttpAnswer bad = Get("_mirror/fault?rule=explode:/x");
  EXPECT_EQ(bad.status, 400);
  EXPECT_NE(bad.body.find("KIND:PATHPREFIX"), std::string::npos);
  EXPECT_EQ(Get("_mirror/fault").status, 400);
  EXPECT_EQ(Get("_mirror/other").status, 404);
}

}  // namespace
}  // namespace oxlip::test
