// Injected failures, from the command line and from the control requests. What each kind does
// to a transfer is seen by the download engine's tests, which rely on it.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "mirror_tree.h"

namespace oxlip::test {
namespace {

using MirrorFaults = ServedFolderTest;

TEST_F(MirrorFaults, RulesCountAndChangeWhileRunning) {
  Serve("download/minecraft.jar", std::string(200000, 'j'));
  Serve("download/lwjgl.jar", "lwjgl");
  StartMirror({"--fault", "500:/download/minecraft.jar:2", "--fault", "404:/download/lwjgl"});
  for (int status : {500, 500, 200}) EXPECT_EQ(Get("download/minecraft.jar").status, status);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get("download/lwjgl.jar").status, 404);
  EXPECT_EQ(Get("download/").status, 200);  // a listing is a request this prefix does not reach

  ASSERT_TRUE(mirror_->ClearFaults());
  ASSERT_TRUE(mirror_->AddFault("404:/download/:1"));
  ASSERT_TRUE(mirror_->AddFault("drop:/download/minecraft.jar"));
  EXPECT_EQ(Get("download/minecraft.jar").status, 404);  // the first rule, used up
  HttpAnswer dropped = Get("download/minecraft.jar");
  EXPECT_EQ(dropped.curl_code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(dropped.body.size(), 100000u);
  EXPECT_EQ(Get("download/lwjgl.jar").body, "lwjgl");
  ASSERT_TRUE(mirror_->ClearFaults());
  EXPECT_EQ(Get("download/minecraft.jar").body.size(), 200000u);
  HttpAnswer bad = Get("_mirror/fault?rule=explode:/x");
  EXPECT_EQ(bad.status, 400);
  EXPECT_NE(bad.body.find("KIND:PATHPREFIX"), std::string::npos);
  EXPECT_EQ(Get("_mirror/fault").status, 400);
  EXPECT_EQ(Get("_mirror/other").status, 404);
}

}  // namespace
}  // namespace oxlip::test
