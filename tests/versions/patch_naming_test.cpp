// Which patch file a stored jar takes and which jar it makes.
#include "versions/patch_naming.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::versions {
namespace {

using PatchNamingTest = test::InTempFolder;

// The first patch of the source, its letters without regard to case; patches of other jars,
// targets that leave the folder and folders are not taken.
TEST_F(PatchNamingTest, TheFirstPatchOfTheSourceIsTaken) {
  EXPECT_EQ(PatchFileName("minecraft - 1.4.7.jar", "minecraft - 1.4.6.JAR"),
            "minecraft - 1.4.7#minecraft - 1.4.6.patch");
  for (const char* name :
       {"minecraft - 1.4.7#minecraft - 1.4.6.patch", "minecraft - 1.4#..\\x.patch",
        "minecraft - 1.4#.patch", "minecraft - 1.4#minecraft - 1.3.patch.txt",
        "minecraft - 1.4.7#minecraft - 1.4.5.patch"})
    test::WriteFile(dir() + name, "x");
  platform::CreateFolder(dir() + "minecraft - 1.4#folder.patch");
  EXPECT_FALSE(FindPatch(dir(), "minecraft - 1.4.jar"));
  EXPECT_FALSE(FindPatch(dir() + "missing/", "minecraft - 1.4.7.jar"));
  std::optional<PatchChoice> choice = FindPatch(dir(), "MINECRAFT - 1.4.7.jar");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->patch_path, dir() + "minecraft - 1.4.7#minecraft - 1.4.5.patch");
  EXPECT_EQ(choice->target_file, "minecraft - 1.4.5.jar");
}

}  // namespace
}  // namespace oxlip::versions
