// Command lines the archiver refuses or cannot carry out: each fails and writes nothing. What the
// others do is checked against the 7-Zip program in the oracle test.
#include <gtest/gtest.h>

#include "archive_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class Failures : public InTempFolder {};

TEST_F(Failures, WriteNothing) {
  MakeZip("minecraft.jar", {{"a.class", "a"}});
  MakeSevenZ("natives.jar", {{"a.so", "a"}});
  WriteFile("src/ok.txt", "ok");
  WriteFile("src/bad\xFF.txt", "bad");  // a 7z holds names as UTF-16
  const Listing before = ListTree(dir());
  const std::string jar = "\"" + dir() + "minecraft.jar\"";
  const struct {
    std::string line;
    const char* folder = "";
  } cases[] = {
      // Not understood.
      {""},
      {"t\tminecraft.jar"},
      {" x  minecraft.jar -p secret -ocache"},
      {"x minecraft.jar -tzap -ocache"},
      {"x -aoa -ocache"},
      // A named entry the jar does not hold.
      {R"(e "minecraft.jar" net\minecraft\client\Minecraft.class -o"cache\" -aoa -hide)"},
      // An archive of another kind than the type switch says.
      {"x -tzip natives.jar -aoa -ocache -hide -xr!meta-inf"},
      {R"(x "absent.7z" * -o"cache\" -aoa -hide)"},
      {R"(x "" -aoa -ocache)"},
      {R"(u "cache\t.jar" -tzip @absent.txt)"},
      {R"(d "absent.jar" META-INF )"},
      {R"(a "cache\new.zip" absent.txt)"},
      {R"(a "cache\new.zip" "absent\" -r)"},
      {R"(a new.7z src\ -r)"},
      // As a change into it would fail: the current folder never stands in for a missing one.
      {R"(a "backup\x.7z" * -r)", "gone"},
      {"x " + jar + " -aoa", "gone"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_NE(RunArchiver(c.line, c.folder), 0);
    EXPECT_EQ(ListTree(dir()), before);
  }
}

}  // namespace
}  // namespace oxlip::test
