#include "platform/pending_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs.h"
#include "support/mod_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;
using test::WriteFile;

class PendingFileTest : public test::InTempFolder {
 protected:
  std::set<std::string> Names() { return test::TreeNames(dir()); }
};

TEST_F(PendingFileTest, TheNameShowsOnlyTheWholeFileAndAnAbandonedOneLeavesNothing) {
  WriteFile(dir() + "f", "old");
  {
    PendingFile file;
    ASSERT_TRUE(file.Create(dir() + "f"));
    ASSERT_TRUE(file.Write("new bytes", 9));
    EXPECT_EQ(ReadFile(dir() + "f"), "old");
  }
  EXPECT_EQ(Names(), std::set<std::string>{"f"});
  EXPECT_EQ(ReadFile(dir() + "f"), "old");

  PendingFile file;
  ASSERT_TRUE(file.Create(dir() + "f"));
  ASSERT_TRUE(file.Write("new bytes", 9));
  ASSERT_TRUE(file.SetModified(1000000000));
  ASSERT_TRUE(file.Publish(dir() + "f"));
  ASSERT_TRUE(file.Publish(dir() + "second"));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(Names(), (std::set<std::string>{"f", "second"}));
  EXPECT_EQ(ReadFile(dir() + "f"), "new bytes");
  EXPECT_EQ(ReadFile(dir() + "second"), "new bytes");
  EXPECT_EQ(FileDate(dir() + "second"), ToDateValue(1000000000));
}

TEST_F(PendingFileTest, NoFolderNoFileAndAFolderKeepsItsName) {
  PendingFile file;
  EXPECT_FALSE(file.Create(dir() + "missing/f"));
  std::filesystem::create_directory(dir() + "d");
  ASSERT_TRUE(file.Create(dir() + "d"));
  EXPECT_FALSE(file.Publish(dir() + "d"));
  file.Close();
  EXPECT_EQ(Names(), std::set<std::string>{"d/"});
  EXPECT_TRUE(IsFolder(dir() + "d"));
}

}  // namespace
}  // namespace oxlip::platform
