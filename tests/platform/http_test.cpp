// Downloads into a file that exists already keep that file's rights.
#include "platform/http.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "support/mirror_process.h"
#include "support/temp_folder.h"
#include "support/write_limit.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;

class HttpTest : public test::InTempFolder {};

// A private file (a login answer holds a session ticket) is never replaced by a readable one.
TEST_F(HttpTest, DownloadIntoAPrivateFileKeepsItPrivate) {
  WriteFile(dir() + "root/download/answer.txt", "served bytes");
  test::MirrorProcess mirror(dir() + "root/");
  ASSERT_GT(mirror.port(), 0);
  std::string target = dir() + "private";
  WriteFile(target, "");
  ::chmod(target.c_str(), 0600);
  ASSERT_TRUE(DownloadToFile(mirror.Url("download/answer.txt"), target));
  EXPECT_EQ(ReadFile(target), "served bytes");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Nothing is left beside it, after success or failure, and the failure says why.
  Error error;
  EXPECT_FALSE(DownloadToFile(mirror.Url("download/missing.txt"), target, &error));
  EXPECT_EQ(error.reason, "the server answered 404");
  EXPECT_EQ(ReadFile(target), "served bytes");
  std::optional<std::string> full = test::InChildWithWriteLimit(4, [&] {
    Error written;
    DownloadToFile(mirror.Url("download/answer.txt"), target, &written);
    return written.Text();
  });
  EXPECT_EQ(full, "can't write " + target + ": " + ReasonText(EFBIG));
  EXPECT_EQ(ReadFile(target), "served bytes");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir()))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"private", "root"}));
}

}  // namespace
}  // namespace oxlip::platform
