// What the unpacking command lines do where the 7-Zip program cannot be the oracle: failures,
// and unpacking without "-aoa" (the program would ask).
#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "platform/fs.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Extract : public InTempFolder {};

TEST_F(Extract, FailuresWriteNothing) {
  MakeZip("minecraft.jar", {{"a.class", "a"}});
  MakeSevenZ("natives.jar", {{"a.so", "a"}});
  for (const char* line : {
           // A named entry the jar does not hold.
           R"(e "minecraft.jar" net\minecraft\client\Minecraft.class -o"cache\" -aoa -hide)",
           // An archive of another kind than the type switch says.
           R"(x -tzip natives.jar -aoa -ocache -hide -xr!meta-inf)",
           R"(x "absent.7z" * -o"cache\" -aoa -hide)",
           R"(x "" -aoa -ocache)",
       }) {
    SCOPED_TRACE(line);
    EXPECT_NE(RunArchiver(line), 0);
    EXPECT_TRUE(ListTree("cache").empty());
  }
}

TEST_F(Extract, WithoutSwitchesFilesStayAndTheCurrentFolderIsTheOutput) {
  MakeZip("source.jar", {{"a.txt", "new"}, {"b.txt", "b"}});
  WriteFile("out/a.txt", "old");
  ASSERT_EQ(RunArchiver("x source.jar -o\"out\\\""), 0);
  EXPECT_EQ(ReadFile("out/a.txt"), "old");
  EXPECT_EQ(ReadFile("out/b.txt"), "b");
  MakeLzma("natives.jar.lzma", "natives");
  ASSERT_EQ(RunArchiver("x natives.jar.lzma -aoa"), 0);
  EXPECT_EQ(ReadFile("natives.jar"), "natives");
}

}  // namespace
}  // namespace oxlip::test
