// Damaged or hostile patches: each fails as a corrupt patch, writes nothing outside the work
// folder and leaves the version store as it was.
#include <gtest/gtest.h>

#include "base/error_text.h"
#include "platform/fs.h"
#include "support/downgrade_fixture.h"
#include "versions/downgrade.h"

namespace oxlip {
namespace {

using test::DeltaRecord;
using test::KeepRecord;
using test::NewRecord;

constexpr char kSource[] = "minecraft - 1.4.7.jar";
constexpr char kTarget[] = "minecraft - 1.4.6.jar";
constexpr platform::DateValue kDate = 1300000000;

std::string Raw(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

std::string Old() {
  std::string out;
  for (int i = 0; i < 80; ++i) out += static_cast<char>('A' + i % 26);
  return out;
}

class DowngradeMalformedTest : public test::DowngradeTest {
 protected:
  void SetUp() override {
    DowngradeTest::SetUp();
    MakeStoredJar(kSource, {{"a.txt", "kept"}, {"b.bin", Old()}}, kDate);
  }

  // Runs the patch and checks that it failed as corrupt with nothing made.
  void ExpectCorrupt(const std::string& label, const std::string& patch) {
    SCOPED_TRACE(label);
    WritePatch(kSource, kTarget, patch);
    EXPECT_EQ(Run(kSource, 1), 0);
    EXPECT_EQ(base::LastErrorText(), "Downgrade: Patchfile corrupt");
    std::vector<std::string> names;
    for (const auto& entry : platform::ListFolder(settings.VersionsDir))
      names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{kSource}));
    for (const std::string& outside : {dir() + "escape.txt", settings.CacheDir + "escape.txt"})
      EXPECT_FALSE(platform::Exists(outside)) << outside;
  }
};

// The bounds of the commands are the patch format's; here only that a corrupt record stops the
// downgrade.
TEST_F(DowngradeMalformedTest, NamesThatLeadOutOfTheWorkFolder) {
  for (const std::string& name :
       {dir() + "escape.txt", std::string("\\escape.txt"), std::string("C:escape.txt"),
        std::string("..\\escape.txt"), std::string("sub\\..\\..\\escape.txt"),
        std::string("sub/../../escape.txt"), std::string("a.txt\r\n../../escape.txt"),
        std::string()})
    ExpectCorrupt(name, NewRecord(name, "x", kDate));
}

TEST_F(DowngradeMalformedTest, SizesAndTypesThatCannotBe) {
  std::string big = NewRecord("new.txt", std::string(1000, 'x'), kDate);
  ExpectCorrupt("content shorter than its size", big.substr(0, big.size() - 990));
  std::string header = KeepRecord("a.txt", "kept", kDate);
  std::string negative = header;
  negative.replace(header.size() - 5, 4, Raw({0xFF, 0xFF, 0xFF, 0xFF}));
  ExpectCorrupt("negative size", negative);
  for (int type : {0, 4, 255}) {
    std::string typed = header;
    typed.back() = static_cast<char>(type);
    ExpectCorrupt("type " + std::to_string(type), typed);
  }
}

TEST_F(DowngradeMalformedTest, RecordsCutShort) {
  std::string keep = KeepRecord("a.txt", "kept", kDate);
  for (size_t cut = 1; cut < keep.size(); ++cut)
    ExpectCorrupt("header cut after " + std::to_string(cut), keep + keep.substr(0, cut));
  std::string delta = DeltaRecord("b.bin", "0123456789" + Old().substr(10, 20), kDate,
                                  Raw({110}) + "0123456789" + Raw({20, 0, 0}));
  for (size_t cut = 1; cut < 15; ++cut)
    ExpectCorrupt("commands cut " + std::to_string(cut) + " before their end",
                  delta.substr(0, delta.size() - cut));
}

}  // namespace
}  // namespace oxlip
