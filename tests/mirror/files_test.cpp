// Objects served under their keys, and nothing from outside the served folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "mirror_tree.h"

namespace oxlip::test {
namespace {

class MirrorFiles : public ServedFolderTest {};

std::string EveryByte() {
  std::string bytes;
  for (int i = 0; i < 256 * 300; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

TEST_F(MirrorFiles, ServesBytesUnderDecodedKeys) {
  Serve("download/natives/linux natives.jar", EveryByte());
  Serve("download/empty", "");
  Serve("download/a+b", "plus");
  StartMirror();
  HttpAnswer jar = Get("download/natives/linux%20natives.jar");
  EXPECT_EQ(jar.status, 200);
  EXPECT_EQ(jar.curl_code, 0);
  EXPECT_TRUE(jar.body == EveryByte());
  HttpAnswer empty = Get("download/empty");
  EXPECT_EQ(empty.status, 200);
  EXPECT_EQ(empty.body, "");
  EXPECT_EQ(Get("download/a+b").body, "plus");
  EXPECT_EQ(Get("download/a%2Bb").body, "plus");
  EXPECT_EQ(Get("download/natives/").status, 200);  // the folder's placeholder object
}

TEST_F(MirrorFiles, MissingKeysAndMalformedPathsAreRefused) {
  Serve("download/minecraft.jar", "jar");
  StartMirror();
  EXPECT_EQ(Get("download/lwjgl.jar").status, 404);
  EXPECT_EQ(Get("download/minecraft.jar/").status, 404);
  EXPECT_EQ(Get("nobucket/minecraft.jar").status, 404);
  EXPECT_EQ(Get("download/minecraft%2").status, 400);
  EXPECT_EQ(Get("download/minecraft%00.jar").status, 400);
}

TEST_F(MirrorFiles, NothingOutsideTheRootIsReachable) {
  WriteFile(dir() + "secret.txt", "secret");
  WriteFile(dir() + "elsewhere/secret.txt", "secret");
  Serve("download/inside.txt", "inside");
  std::filesystem::create_symlink(dir() + "secret.txt", root_ + "download/link.txt");
  std::filesystem::create_directory_symlink(dir() + "elsewhere", root_ + "download/linked");
  std::filesystem::create_directory_symlink(dir() + "elsewhere", root_ + "outside");
  std::filesystem::create_symlink(root_ + "download/inside.txt", root_ + "download/alias.txt");
  StartMirror();
  for (const char* path :
       {"download/../../secret.txt", "download/%2e%2e/%2E%2E/secret.txt",
        "download/..%2f..%2fsecret.txt",
        "download//"
        "etc/passwd",
        "download/./inside.txt", "download/link.txt", "download/linked/secret.txt",
        "outside/secret.txt", "outside/", "../secret.txt", "%2e%2e/secret.txt"}) {
    HttpAnswer answer = Get(path);
    EXPECT_NE(answer.status, 200) << path;
    EXPECT_EQ(answer.body.find("secret</"), std::string::npos) << path;
    EXPECT_NE(answer.body, "secret") << path;
  }
  EXPECT_EQ(Get("download/alias.txt").body, "inside");
  std::vector<std::string> keys = ListedKeys(Get("download/").body);
  EXPECT_EQ(keys, (std::vector<std::string>{"alias.txt", "inside.txt"}));
}

TEST_F(MirrorFiles, RequestLogHasEveryTargetAsReceived) {
  Serve("download/a b", "x");
  WriteFile(log_, "GET /earlier\n");
  StartMirror();
  Get("download/a%20b?x=1&y=%2F");
  Get("download/");
  Get("missing");
  EXPECT_EQ(ReadFile(log_),
            "GET /earlier\nGET /download/a%20b?x=1&y=%2F\nGET /download/\nGET /missing\n");
}

}  // namespace
}  // namespace oxlip::test
