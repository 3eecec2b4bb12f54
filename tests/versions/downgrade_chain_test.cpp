// Chains of downgrades: each target becomes the next source until no patch fits; and which
// patch file a stored jar takes.
#include <gtest/gtest.h>

#include "base/error_text.h"
#include "platform/fs.h"
#include "support/downgrade_fixture.h"
#include "support/jar_files.h"
#include "versions/downgrade.h"
#include "versions/patch_naming.h"
#include "versions/version_index.h"

namespace oxlip {
namespace {

using test::JarFiles;
using test::KeepRecord;
using test::MainClassBytes;
using test::NewRecord;

constexpr char kMainClass[] = "net/minecraft/client/Minecraft.class";
constexpr char kMainRecord[] = "net\\minecraft\\client\\Minecraft.class";

std::string JarOf(int version) { return "minecraft - 1." + std::to_string(version) + ".jar"; }
platform::DateValue DateOf(int version) { return 1300000000 + version * 1000000; }
std::string TextOf(int version) { return "text of 1." + std::to_string(version); }

JarFiles FilesOf(int version) {
  return {{kMainClass, MainClassBytes("1." + std::to_string(version))},
          {"shared.txt", "the same in every version"},
          {"text.txt", TextOf(version)}};
}

// The patch from version `from` to `to`: the main class and the text anew, the rest kept.
std::string PatchBetween(int to, bool good_crc = true) {
  std::string shared = good_crc ? "the same in every version" : "another text of that length";
  return NewRecord(kMainRecord, MainClassBytes("1." + std::to_string(to)), DateOf(to)) +
         KeepRecord("shared.txt", shared.substr(0, 25), DateOf(to) - 10) +
         NewRecord("text.txt", TextOf(to), DateOf(to) - 20);
}

class DowngradeChainTest : public test::DowngradeTest {
 protected:
  void WriteChainPatches(int newest, int oldest) {
    for (int v = newest; v > oldest; --v) WritePatch(JarOf(v), JarOf(v - 1), PatchBetween(v - 1));
  }
};

// Without the chain flag one step is made; with it a target that exists is skipped and the
// chain goes on from that stored jar, not from what the work folder holds.
TEST_F(DowngradeChainTest, AChainMakesEveryOlderVersionAndGoesOnFromAnExistingTarget) {
  test::MakeJar(Jar(JarOf(4)), FilesOf(4), DateOf(4));
  JarFiles kept_three = FilesOf(3);
  kept_three["only in the stored 1.3.txt"] = "proof that 1.2 was made from this jar";
  test::MakeJar(Jar(JarOf(3)), kept_three, DateOf(3));
  std::string stored = test::ReadFile(Jar(JarOf(3)));
  WriteChainPatches(4, 1);
  WritePatch(JarOf(3), JarOf(2),
             PatchBetween(2) + KeepRecord("only in the stored 1.3.txt",
                                          "proof that 1.2 was made from this jar", DateOf(2)));

  EXPECT_EQ(Run(JarOf(4), 0), 0);
  EXPECT_EQ(base::LastErrorText(), "Downgrade: File already exist");
  EXPECT_FALSE(platform::Exists(Jar(JarOf(2))));

  EXPECT_EQ(Run(JarOf(4), 1), 0);
  EXPECT_EQ(base::LastErrorText(), "Downgrade: no patch file");
  EXPECT_EQ(test::ReadFile(Jar(JarOf(3))), stored);
  EXPECT_EQ(test::JarFileContents(Jar(JarOf(2))).count("only in the stored 1.3.txt"), 1u);
  EXPECT_EQ(test::JarFileContents(Jar(JarOf(1))), FilesOf(1));
  EXPECT_EQ(VerIni(), versions::VersionRecordBytes(JarOf(2), "1.2", DateOf(2)) +
                          versions::VersionRecordBytes(JarOf(1), "1.1", DateOf(1)));
  EXPECT_EQ(status.times.back(), JarOf(2) + " to " + JarOf(1));
}

// A failed step keeps the jars made before it; patches that lead back end the chain.
TEST_F(DowngradeChainTest, AChainEndsAtAFailedStepOrWhereItBegan) {
  test::MakeJar(Jar(JarOf(4)), FilesOf(4), DateOf(4));
  WritePatch(JarOf(4), JarOf(3), PatchBetween(3));
  WritePatch(JarOf(3), JarOf(2), PatchBetween(2, false));
  EXPECT_EQ(Run(JarOf(4), 1), 1);
  EXPECT_EQ(base::LastErrorText(), "Downgrader: wrong file shared.txt");
  EXPECT_FALSE(platform::Exists(Jar(JarOf(2))));
  EXPECT_EQ(VerIni(), versions::VersionRecordBytes(JarOf(3), "1.3", DateOf(3)));

  WritePatch(JarOf(3), JarOf(2), PatchBetween(2));
  WritePatch(JarOf(2), JarOf(3), PatchBetween(3));
  EXPECT_EQ(Run(JarOf(3), 1), 1);
  EXPECT_EQ(base::LastErrorText(), "Downgrade: File already exist");
  EXPECT_EQ(test::JarFileContents(Jar(JarOf(2))), FilesOf(2));
}

using PatchNamingTest = test::InTempFolder;

// The first patch of the source, its letters without regard to case; patches of other jars,
// targets that leave the folder and folders are not taken.
TEST_F(PatchNamingTest, TheFirstPatchOfTheSourceIsTaken) {
  EXPECT_EQ(versions::PatchFileName("minecraft - 1.4.7.jar", "minecraft - 1.4.6.JAR"),
            "minecraft - 1.4.7#minecraft - 1.4.6.patch");
  for (const char* name :
       {"minecraft - 1.4.7#minecraft - 1.4.6.patch", "minecraft - 1.4#..\\x.patch",
        "minecraft - 1.4#.patch", "minecraft - 1.4#minecraft - 1.3.patch.txt",
        "minecraft - 1.4.7#minecraft - 1.4.5.patch"})
    test::WriteFile(dir() + name, "x");
  platform::CreateFolder(dir() + "minecraft - 1.4#folder.patch");
  EXPECT_FALSE(versions::FindPatch(dir(), "minecraft - 1.4.jar"));
  EXPECT_FALSE(versions::FindPatch(dir() + "missing/", "minecraft - 1.4.7.jar"));
  std::optional<versions::PatchChoice> choice = versions::FindPatch(dir(), "MINECRAFT - 1.4.7.jar");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->patch_path, dir() + "minecraft - 1.4.7#minecraft - 1.4.5.patch");
  EXPECT_EQ(choice->target_file, "minecraft - 1.4.5.jar");
}

}  // namespace
}  // namespace oxlip
