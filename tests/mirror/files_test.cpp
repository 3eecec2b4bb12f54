// Objects served under their keys, and nothing from outside the served folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "mirror_tree.h"

namespace oxlip::test {
namespace {

using MirrorFiles = ServedFolderTest;

TEST_F(MirrorFiles, ServesBytesUnderDecodedKeysAndRefusesTheRest) {
  std::string every_byte;
  for (int i = 0; i < 256 * 300; ++i) every_byte += static_cast<char>(i * 7);
  Serve("download/natives/linux natives.jar", every_byte);
  Serve("download/empty", "");
  Serve("download/a+b", "plus");
  WriteFile(log_, "GET /earlier\n");
  StartMirror();
  HttpAnswer jar = Get("download/natives/linux%20natives.jar?x=1&y=%2F&z");
  EXPECT_EQ(jar.curl_code, 0);
  EXPECT_TRUE(jar.body == every_byte);
  const struct {
    const char* path;
    int status;
    const char* body;  // nullptr: not compared
  } cases[] = {{"download/empty", 200, ""},          {"download/a+b", 200, "plus"},
               {"download/a%2Bb", 200, "plus"},      {"download/natives/", 200, nullptr},
               {"download/lwjgl.jar", 404, nullptr}, {"download/empty/", 404, nullptr},
               {"nobucket/empty", 404, nullptr},     {"download/empty%2", 400, nullptr},
               {"download/e%00mpty", 400, nullptr}};
  for (const auto& c : cases) {
    HttpAnswer answer = Get(c.path);
    EXPECT_EQ(answer.status, c.status) << c.path;
    EXPECT_TRUE(!c.body || answer.body == c.body) << c.path;
  }
  // Every target as received, after what the log held.
  EXPECT_TRUE(ReadFile(log_).starts_with(
      "GET /earlier\nGET /download/natives/linux%20natives.jar?x=1&y=%2F&z\nGET"));
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
        "download/..%2f..%2fsecret.txt", "download//etc/passwd", "download/./inside.txt",
        "download/link.txt", "download/linked/secret.txt", "outside/secret.txt", "outside/",
        "../secret.txt", "%2e%2e/secret.txt"}) {
    HttpAnswer answer = Get(path);
    EXPECT_NE(answer.status, 200) << path;
    EXPECT_EQ(answer.body.find("secret</"), std::string::npos) << path;  // listed
    EXPECT_NE(answer.body, "secret") << path;
  }
  EXPECT_EQ(Get("download/alias.txt").body, "inside");
  EXPECT_EQ(ListedKeys(Get("download/").body),
            (std::vector<std::string>{"alias.txt", "inside.txt"}));
}

}  // namespace
}  // namespace oxlip::test
