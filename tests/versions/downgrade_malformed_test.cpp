// Damaged or hostile patches: each fails as a corrupt patch, writes nothing outside the work
// folder and leaves the version store as it was. The bounds of headers and commands are the
// patch format's; here that each kind of damage stops the downgrade.
#include <gtest/gtest.h>

#include "base/error_text.h"
#include "platform/fs.h"
#include "support/downgrade_fixture.h"
#include "versions/downgrade.h"

namespace oxlip {
namespace {

constexpr char kSource[] = "minecraft - 1.4.7.jar";
constexpr platform::DateValue kDate = 1300000000;

using DowngradeMalformedTest = test::DowngradeTest;

TEST_F(DowngradeMalformedTest, ACorruptRecordStopsTheDowngradeWithNothingMade) {
  const std::string old(80, 'o');
  test::MakeJar(Jar(kSource), {{"a.txt", "kept"}, {"b.bin", old}}, kDate);
  const std::string keep = test::KeepRecord("a.txt", "kept", kDate);
  const std::string big = test::NewRecord("new.txt", std::string(1000, 'x'), kDate);
  const std::string commands = std::string(1, 110) + "0123456789" + std::string("\x14\0\0", 3);
  const std::string delta =
      test::DeltaRecord("b.bin", "0123456789" + old.substr(10, 20), kDate, commands);
  std::string typed = keep;
  typed.back() = 4;
  std::vector<std::pair<std::string, std::string>> patches = {
      {"content shorter than its size", big.substr(0, big.size() - 990)},
      {"header cut short", keep + keep.substr(0, 7)},
      {"commands cut short", delta.substr(0, delta.size() - 1)},
      {"type 4", typed},
  };
  for (const std::string& name :
       {dir() + "escape.txt", std::string("\\escape.txt"), std::string("C:escape.txt"),
        std::string("..\\escape.txt"), std::string("sub\\..\\..\\escape.txt"),
        std::string("sub/../../escape.txt"), std::string("a.txt\r\n../../escape.txt"),
        std::string()})
    patches.push_back({name, test::NewRecord(name, "x", kDate)});
  for (const auto& [label, patch] : patches) {
    SCOPED_TRACE(label);
    WritePatch(kSource, "minecraft - 1.4.6.jar", patch);
    EXPECT_EQ(Run(kSource, 1), 0);
    EXPECT_EQ(base::LastErrorText(), "Downgrade: Patchfile corrupt");
    EXPECT_EQ(platform::ListFolder(settings.VersionsDir).size(), 1u);
    for (const std::string& outside : {dir() + "escape.txt", settings.CacheDir + "escape.txt"})
      EXPECT_FALSE(platform::Exists(outside)) << outside;
  }
}

}  // namespace
}  // namespace oxlip
