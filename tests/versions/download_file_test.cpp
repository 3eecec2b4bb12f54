// DownloadMCFile's decisions that need no server.
#include <gtest/gtest.h>

#include <cerrno>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/md5.h"
#include "support/temp_folder.h"
#include "versions/download_engine.h"

namespace oxlip {
namespace {

using test::ReadFile;
using test::WriteFile;

class DownloadFileTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    settings.CacheDir = dir() + "Cache/";
    remote.download_prefix = settings.CacheDir + "download\\";
  }
  void AddEntry(const std::string& path, const std::string& bytes) {
    remote.files.push_back({path, "http://127.0.0.1:9/" + path, 1300000000, platform::Md5Hex(bytes),
                            static_cast<int>(bytes.size())});
  }
  base::GlobalSettings settings;
  versions::RemoteFileList remote;
  versions::DownloadQueue queue;
  versions::DownloadContext context{settings, remote, queue};
};

TEST_F(DownloadFileTest, UnknownNamesAndKeysThatLeaveTheirFolderAreRefused) {
  AddEntry("..\\..\\outside.txt", "x");
  AddEntry("/etc/motd", "x");
  EXPECT_EQ(DownloadMCFile(context, "missing.jar", dir() + "bin/missing.jar"), 0);
  EXPECT_EQ(base::LastErrorText(), "DownloadMCFile: Can't find missing.jar");
  // The walking form with no current entry has nothing to take.
  EXPECT_EQ(DownloadMCFile(context, dir() + "resources/a", ""), 0);
  EXPECT_EQ(base::LastErrorText(), "DownloadMCFile: Can't find " + dir() + "resources/a");
  EXPECT_EQ(DownloadMCFile(context, "..\\..\\outside.txt", dir() + "bin/x"), 0);
  EXPECT_EQ(base::LastErrorText(), "DownloadMCFile: Unsafe remote path ..\\..\\outside.txt");
  remote.current = 1;
  EXPECT_EQ(DownloadMCFile(context, dir() + "resources/motd", ""), 0);
  EXPECT_TRUE(queue.empty());
}

TEST_F(DownloadFileTest, FailedCopyFromTheCacheKeepsTheOldTarget) {
  AddEntry("lwjgl.jar", "new bytes");
  WriteFile(settings.CacheDir + "download/lwjgl.jar", "new bytes");
  // A name at the file-system limit leaves no room for the temporary name beside it.
  std::string target = dir() + std::string(255, 'n');
  WriteFile(target, "old bytes");
  EXPECT_EQ(DownloadMCFile(context, "LWJGL.JAR", target), 0);
  EXPECT_EQ(base::LastErrorText(), "DownloadMCFile:Can't copy " + settings.CacheDir +
                                       "download/lwjgl.jar to " + target + ": " +
                                       platform::ReasonText(ENAMETOOLONG));
  EXPECT_EQ(ReadFile(target), "old bytes");
  EXPECT_TRUE(queue.empty());
}

}  // namespace
}  // namespace oxlip
