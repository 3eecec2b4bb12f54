// Which patch file a stored jar takes and which jar it makes.
#include "versions/patch_naming.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::versions {
namespace {

class PatchNamingTest : public test::InTempFolder {
 protected:
  void Touch(const std::string& name) { test::WriteFile(dir() + name, "x"); }
};

TEST_F(PatchNamingTest, NamesAreSourceHashTargetWithoutJarEndings) {
  EXPECT_EQ(PatchFileName("minecraft - 1.4.7.jar", "minecraft - 1.4.6.jar"),
            "minecraft - 1.4.7#minecraft - 1.4.6.patch");
  EXPECT_EQ(JarStem("Old.JAR"), "Old");
}

TEST_F(PatchNamingTest, TheFirstPatchOfTheSourceIsTaken) {
  Touch("minecraft - 1.4.7#minecraft - 1.4.6.patch");
  Touch("minecraft - 1.4.7#minecraft - 1.4.5.patch");
  std::optional<PatchChoice> choice = FindPatch(dir(), "minecraft - 1.4.7.jar");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->patch_path, dir() + "minecraft - 1.4.7#minecraft - 1.4.5.patch");
  EXPECT_EQ(choice->target_file, "minecraft - 1.4.5.jar");
  // Letters match without regard to case.
  choice = FindPatch(dir(), "MINECRAFT - 1.4.7.jar");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->target_file, "minecraft - 1.4.5.jar");
}

TEST_F(PatchNamingTest, PatchesOfOtherJarsAndEscapingTargetsAreNotTaken) {
  Touch("minecraft - 1.4.7#minecraft - 1.4.6.patch");  // a longer source name
  Touch("minecraft - 1.4#..\\escape.patch");
  Touch("minecraft - 1.4#.patch");
  Touch("minecraft - 1.4#minecraft - 1.3.patch.txt");
  platform::CreateFolder(dir() + "minecraft - 1.4#folder.patch");
  EXPECT_FALSE(FindPatch(dir(), "minecraft - 1.4.jar"));
  EXPECT_FALSE(FindPatch(dir() + "missing/", "minecraft - 1.4.jar"));
}

}  // namespace
}  // namespace oxlip::versions
