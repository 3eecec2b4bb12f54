// Downgrade of one jar by hand-written patches: what each record type makes, the checks, and
// what lands in the version store.
#include <gtest/gtest.h>

#include <cerrno>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/downgrade_fixture.h"
#include "versions/downgrade.h"
#include "versions/version_index.h"

namespace oxlip {
namespace {

using test::JarContents;
using test::JarFileContents;
using test::JarFiles;
using test::KeepRecord;
using test::MainClassBytes;
using test::NewRecord;

constexpr char kSource[] = "minecraft - 1.4.7.jar";
constexpr char kTarget[] = "minecraft - 1.4.6.jar";
constexpr char kMainClass[] = "net/minecraft/client/Minecraft.class";
constexpr char kMainRecord[] = "net\\minecraft\\client\\Minecraft.class";
// Even seconds: zip keeps times to two seconds.
constexpr platform::DateValue kOld = 1300000000;
constexpr platform::DateValue kClassDate = 1310000000;
constexpr platform::DateValue kNewest = 1320000000;

std::string Bytes(size_t count, unsigned seed) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    out += static_cast<char>(seed >> 16);
  }
  return out;
}

class DowngradeApplyTest : public test::DowngradeTest {
 protected:
  void SetUp() override {
    DowngradeTest::SetUp();
    test::MakeJar(Jar(kSource),
                  {{kMainClass, MainClassBytes("1.4.7")},
                   {"a.txt", "kept"},
                   {"b.bin", b},
                   {"c.bin", c},
                   {"gone.txt", "not named by the patch"}},
                  kOld);
  }
  std::string b = Bytes(80, 1), c = Bytes(40, 2);
};

TEST_F(DowngradeApplyTest, EveryRecordTypeMakesTheTargetAndItsVersionRecord) {
  // Command 50 with offset 0: the first 50 old bytes.
  std::string first_fifty("\x32\x00\x00", 3);
  // Ten inserted bytes, then a copy with offset -3: old bytes from position 7 on.
  std::string shifted;
  versions::AppendInsert("0123456789", &shifted);
  shifted += std::string("\x05\xFD\x00", 3);
  WritePatch(kSource, kTarget,
             NewRecord(kMainRecord, MainClassBytes("1.4.6"), kClassDate) +
                 KeepRecord("a.txt", "kept", kNewest) +
                 test::DeltaRecord("b.bin", b.substr(0, 50), kOld, first_fifty) +
                 test::DeltaRecord("c.bin", "0123456789" + c.substr(7, 5), kOld, shifted) +
                 KeepRecord("empty.txt", "", kOld) + KeepRecord("extra\\", "", kOld) +
                 NewRecord("extra\\deep\\new.txt", "new", kOld));

  ASSERT_EQ(Run(kSource, 0), 1) << base::LastErrorText();

  JarFiles expected{
      {kMainClass, MainClassBytes("1.4.6")},    {"a.txt", "kept"}, {"b.bin", b.substr(0, 50)},
      {"c.bin", "0123456789" + c.substr(7, 5)}, {"empty.txt", ""}, {"extra/deep/new.txt", "new"}};
  EXPECT_EQ(JarFileContents(Jar(kTarget)), expected);
  EXPECT_EQ(test::JarDates(Jar(kTarget))["a.txt"], kNewest);
  EXPECT_EQ(test::JarDates(Jar(kTarget))[kMainClass], kClassDate);
  EXPECT_EQ(platform::FileDate(Jar(kTarget)), kNewest);
  EXPECT_EQ(VerIni(), versions::VersionRecordBytes(kTarget, "1.4.6", kClassDate));
  EXPECT_EQ(status.times,
            std::vector<std::string>{"minecraft - 1.4.7.jar to minecraft - 1.4.6.jar"});
  EXPECT_EQ(JarContents(Jar(kSource)).count("gone.txt"), 1u);  // the source is left alone
}

// Without the main class the version is unknown and dated by the newest record; an empty file
// in the target's place is replaced.
TEST_F(DowngradeApplyTest, WithoutTheMainClassTheVersionIsUnknown) {
  test::WriteFile(Jar(kTarget), "");
  WritePatch(kSource, kTarget,
             KeepRecord("a.txt", "kept", kClassDate) + KeepRecord("c.bin", c, kNewest));
  ASSERT_EQ(Run(kSource, 0), 1) << base::LastErrorText();
  EXPECT_EQ(VerIni(), versions::VersionRecordBytes(kTarget, "[unknown]", kNewest));
  EXPECT_EQ(JarFileContents(Jar(kTarget)), (JarFiles{{"a.txt", "kept"}, {"c.bin", c}}));
}

TEST_F(DowngradeApplyTest, FailuresNameWhatWentWrong) {
  struct Case {
    std::string patch, message, left_over;  // a file an earlier run left in the work folder
  } cases[] = {
      {test::DeltaRecord("b.bin", "x", kOld, std::string("\xCA", 1)),
       "Downgrade: illegal patch-info for " + platform::NativePath(work + "b.bin"), ""},
      {test::DeltaRecord("missing.bin", "x", kOld, std::string("\x65x\x00", 3)),
       "Can't read: " + platform::NativePath(work + "missing.bin"), "missing.bin"},
      {NewRecord("a.txt\\under a file", "x", kOld),
       "Downgrade: Can't create " + platform::NativePath(work + "a.txt\\under a file") + ": " +
           platform::ReasonText(ENOTDIR),
       ""},
      {KeepRecord("left.txt", "left over", kOld), "Downgrader: wrong file left.txt", "left.txt"},
      // Right size, another CRC-32.
      {KeepRecord("c.bin", c, kOld) + KeepRecord("a.txt", "kepT", kOld),
       "Downgrader: wrong file a.txt", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    if (!c.left_over.empty()) test::WriteFile(work + c.left_over, "left over");
    WritePatch(kSource, kTarget, c.patch);
    EXPECT_EQ(Run(kSource, 0), 0);
    EXPECT_EQ(base::LastErrorText(), c.message);
    EXPECT_FALSE(platform::Exists(Jar(kTarget)));
    EXPECT_FALSE(platform::Exists(settings.VersionsDir + "ver.ini"));
  }
}

TEST_F(DowngradeApplyTest, NoPatchNoTargetAndAFailedPackLeaveTheStoreAlone) {
  EXPECT_EQ(Run(kSource, 1), 0);
  EXPECT_EQ(base::LastErrorText(), "Downgrade: no patch file");
  EXPECT_TRUE(status.times.empty());

  // A folder in the target's place cannot be packed into.
  platform::CreateFolder(Jar(kTarget));
  WritePatch(kSource, kTarget, KeepRecord("a.txt", "kept", kOld));
  EXPECT_EQ(Run(kSource, 0), 0);
  // The archiver's reason follows.
  EXPECT_TRUE(base::LastErrorText().starts_with("Downgrader: Can't create " +
                                                platform::NativePath(Jar(kTarget)) + ": "))
      << base::LastErrorText();
  EXPECT_FALSE(platform::Exists(settings.VersionsDir + "ver.ini"));
  EXPECT_EQ(platform::CurrentFolder(), dir());
}

}  // namespace
}  // namespace oxlip
