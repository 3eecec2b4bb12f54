// DownloadMCFile's decisions that need no server.
#include <gtest/gtest.h>

#include <cerrno>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/md5.h"
#include "support/temp_folder.h"
#include "versions/download_engine.h"

namespace oxlip {
namespace {

class DownloadFileTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.CacheDir = dir() + "Cache/";
    remote.download_prefix = settings.CacheDir + "download\\";
    for (const char* path : {"..\\..\\outside.txt", "/etc/motd", "lwjgl.jar"})
      remote.files.push_back({path, "http://127.0.0.1:9/", 1300000000, platform::Md5Hex("new"), 3});
  }
  GlobalSettings settings;
  RemoteFileList remote;
  DownloadQueue queue;
  DownloadContext context{settings, remote, queue};
};

TEST_F(DownloadFileTest, UnknownNamesKeysThatLeaveTheirFolderAndFailedCopiesAreRefused) {
  // A name at the file-system limit leaves no room for the temporary name beside it.
  const std::string long_target = dir() + std::string(255, 'n');
  test::WriteFile(long_target, "old");
  test::WriteFile(settings.CacheDir + "download/lwjgl.jar", "new");
  const struct {
    std::string name, target, message;
    int current = -1;  // the walking form (no target) takes the current entry
  } cases[] = {
      {"missing.jar", dir() + "bin/missing.jar", "DownloadMCFile: Can't find missing.jar"},
      {dir() + "resources/a", "", "DownloadMCFile: Can't find " + dir() + "resources/a"},
      {"..\\..\\outside.txt", dir() + "bin/x",
       "DownloadMCFile: Unsafe remote path ..\\..\\outside.txt"},
      {dir() + "resources/motd", "", "DownloadMCFile: Unsafe remote path /etc/motd", 1},
      {"LWJGL.JAR", long_target,
       "DownloadMCFile:Can't copy " + settings.CacheDir + "download/lwjgl.jar to " + long_target +
           ": " + platform::ReasonText(ENAMETOOLONG)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    remote.current = c.current;
    EXPECT_EQ(DownloadMCFile(context, c.name, c.target), 0);
    EXPECT_EQ(LastErrorText(), c.message);
  }
  EXPECT_EQ(test::ReadFile(long_target), "old");
  EXPECT_TRUE(queue.empty());
}

}  // namespace
}  // namespace oxlip
