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
    EXPECT_EQ(LastErrorText(), "Downgrade: Patchfile corrupt");
    std::vector<std::string> names;
    for (const auto& entry : platform::ListFolder(settings.VersionsDir))
      names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{kSource}));
    for (const std::string& outside : {dir() + "escape.txt", settings.CacheDir + "escape.txt"})
      EXPECT_FALSE(platform::Exists(outside)) << outside;
  }
};

TEST_F(DowngradeMalformedTest, NamesThatLeadOutOfTheWorkFolder) {
  ExpectCorrupt("absolute", NewRecord(dir() + "escape.txt", "x", kDate));
  ExpectCorrupt("absolute, backslash", NewRecord("\\escape.txt", "x", kDate));
  ExpectCorrupt("drive", NewRecord("C:escape.txt", "x", kDate));
  ExpectCorrupt("parent", NewRecord("..\\escape.txt", "x", kDate));
  ExpectCorrupt("parent inside", NewRecord("sub\\..\\..\\escape.txt", "x", kDate));
  ExpectCorrupt("parent, slash", NewRecord("sub/../../escape.txt", "x", kDate));
  ExpectCorrupt("line break", NewRecord("a.txt\r\n../../escape.txt", "x", kDate));
  ExpectCorrupt("empty", NewRecord("", "x", kDate));
}

TEST_F(DowngradeMalformedTest, CopiesOutsideTheOldContent) {
  std::string old = Old();
  // 50 bytes from position 40 of 80.
  ExpectCorrupt("past the end", DeltaRecord("b.bin", old.substr(0, 50), kDate, Raw({50, 40, 0})));
  ExpectCorrupt("before the start",
                DeltaRecord("b.bin", old.substr(0, 5), kDate, Raw({5, 0xFF, 0})));
  ExpectCorrupt("long copy past the end",
                DeltaRecord("b.bin", old, kDate, Raw({3, 0, 0, 0})));  // 101 bytes
}

TEST_F(DowngradeMalformedTest, MoreOutputThanTheRecordPromises) {
  ExpectCorrupt("insert longer than the size",
                DeltaRecord("b.bin", "abc", kDate, Raw({110}) + "0123456789" + Raw({0})));
  ExpectCorrupt("copies past the size",
                DeltaRecord("b.bin", Old().substr(0, 50), kDate, Raw({50, 0, 5, 0, 0})));
  ExpectCorrupt("a 32-bit insert count of 2^32",
                DeltaRecord("b.bin", "abc", kDate, Raw({201, 0xFF, 0xFF, 0xFF, 0xFF, 0})));
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
