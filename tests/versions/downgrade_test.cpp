// Downgrade patches: the format on buffers (the command encodings at their bounds, record
// headers, every way a command or a header may reach outside what it was given); downgrades of
// stored jars by hand-written patches (what each record type makes, the checks, what lands in
// the version store); damaged or hostile patches; chains; and which patch a stored jar takes.
#include "versions/downgrade.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "base/error_text.h"
#include "platform/error.h"
#include "platform/fs.h"
#include "platform/path.h"
#include "support/downgrade_fixture.h"
#include "support/jar_files.h"
#include "versions/delta_apply.h"
#include "versions/patch_format.h"
#include "versions/patch_naming.h"
#include "versions/patch_record.h"
#include "versions/version_index.h"

namespace oxlip::versions {
namespace {

std::string Raw(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

std::string Old(size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i) out += static_cast<char>(i * 7 + i / 251);
  return out;
}

// The status of the commands over `old`; the output in `output`.
DeltaStatus Apply(std::string_view old, std::int64_t size, const std::string& commands,
                  std::string* output = nullptr) {
  PatchCursor cursor(commands);
  return ApplyDelta(old, size, cursor, [output](std::string_view bytes) {
    if (output) *output += bytes;
    return true;
  });
}

TEST(PatchFormatTest, WrittenCommandsReadBackAtEveryBound) {
  std::string old = Old(300000);
  for (std::uint64_t length : {1, 100, 101, 256, 257, 65536, 65537, 200000}) {
    std::string inserted = Old(length), commands, output;
    AppendInsert(inserted, &commands);
    AppendEnd(&commands);
    EXPECT_EQ(Apply(old, std::int64_t(length), commands, &output), DeltaStatus::kDone) << length;
    EXPECT_EQ(output, inserted) << length;
  }
  for (std::uint64_t length : {5, 100, 101, 356, 357, 65636, 65637, 65640, 65641, 200000}) {
    for (int offset : {-128, 0, 127}) {
      std::string commands, output;
      AppendInsert(std::string(128, 'x'), &commands);
      AppendCopy(offset, length, &commands);
      AppendEnd(&commands);
      ASSERT_EQ(Apply(old, std::int64_t(128 + length), commands, &output), DeltaStatus::kDone)
          << length << " " << offset;
      EXPECT_EQ(output, std::string(128, 'x') + old.substr(128 + offset, length));
    }
  }
}

TEST(PatchFormatTest, CommandsThatReachOutsideAreCorrupt) {
  std::string old = Old(80);
  struct Case {
    const char* label;
    std::int64_t size;
    std::string commands;
    DeltaStatus status = DeltaStatus::kCorrupt;
  } cases[] = {
      {"copy past the old end", 50, Raw({50, 40, 0})},
      {"copy before the old start", 5, Raw({5, 0xFF, 0})},
      {"copy from the old end", 5, Raw({110}) + std::string(80, 'x') + Raw({5, 0, 0})},
      {"copy from beyond the old end", 105, Raw({200}) + std::string(100, 'x') + Raw({5, 10, 0})},
      {"long copy past the end", 101, Raw({3, 0, 0, 0})},
      {"insert past the size", 3, Raw({104}) + "abcd" + Raw({0})},
      {"copy past the size", 50, Raw({50, 0, 5, 0, 0})},
      {"insert of 2^32 bytes", 1 << 30, Raw({201, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"insert cut short", 10, Raw({110}) + "abc"},
      {"operand cut short", 200, Raw({4, 0, 1})},
      {"no end command", 5, Raw({5, 0})},
      {"nothing at all", 0, ""},
      {"command 202", 5, Raw({202}), DeltaStatus::kIllegalCommand},
      {"command 255", 5, Raw({255}), DeltaStatus::kIllegalCommand},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(old, c.size, c.commands), c.status) << c.label;
  std::string commands = Raw({50, 0, 0});
  PatchCursor cursor(commands);
  EXPECT_EQ(ApplyDelta(old, 50, cursor, [](std::string_view) { return false; }),
            DeltaStatus::kWriteFailed);
}

// A header is refused when cut anywhere, with a negative size or a type none of the three.
TEST(PatchFormatTest, RecordHeadersReadBackAndDamagedOnesAreRefused) {
  RecordHeader written{"net\\minecraft\\client\\Minecraft.class", 0xCBF43926u, -5, 9, 3};
  std::string bytes = RecordHeaderBytes(written);
  PatchCursor cursor(bytes);
  RecordHeader read;
  ASSERT_TRUE(ReadRecordHeader(cursor, &read));
  EXPECT_EQ(std::make_tuple(read.name, read.crc, read.date, read.size, read.type),
            std::make_tuple(written.name, 0xCBF43926u, -5, 9, 3));
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);  // the check value of the zip CRC

  std::vector<std::string> damaged;
  for (size_t cut = 0; cut < bytes.size(); ++cut) damaged.push_back(bytes.substr(0, cut));
  const std::pair<std::int32_t, std::uint8_t> sizes_and_types[] = {
      {-1, 1}, {9, 0}, {9, 4}, {9, 255}};
  for (auto [size, type] : sizes_and_types)
    damaged.push_back(RecordHeaderBytes({"a", 0, 0, size, type}));
  for (const std::string& header : damaged) {
    PatchCursor at(header);
    EXPECT_FALSE(ReadRecordHeader(at, &read)) << header.size();
  }

  for (const char* name : {"a", "a\\b\\", "a/b", "...", "a..b\\c", ".\\a"})
    EXPECT_TRUE(IsSafeRecordName(name)) << name;
  for (const std::string& name :
       std::vector<std::string>{"", "\\a", "/a", "C:\\a", "c:a", "..", "a\\..\\b", "a/..", "a\rb",
                                "a\nb", std::string("a\0b", 3)})
    EXPECT_FALSE(IsSafeRecordName(name)) << name;
}

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

using DowngradeMalformedTest = test::DowngradeTest;

// Each damaged or hostile patch fails as corrupt, writes nothing outside the work folder and
// leaves the version store as it was. The bounds of headers and commands are the patch
// format's; here that each kind of damage stops the downgrade.
TEST_F(DowngradeMalformedTest, ACorruptRecordStopsTheDowngradeWithNothingMade) {
  const std::string old(80, 'o');
  test::MakeJar(Jar(kSource), {{"a.txt", "kept"}, {"b.bin", old}}, kOld);
  const std::string keep = test::KeepRecord("a.txt", "kept", kOld);
  const std::string big = test::NewRecord("new.txt", std::string(1000, 'x'), kOld);
  const std::string commands = std::string(1, 110) + "0123456789" + std::string("\x14\0\0", 3);
  const std::string delta =
      test::DeltaRecord("b.bin", "0123456789" + old.substr(10, 20), kOld, commands);
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
    patches.push_back({name, test::NewRecord(name, "x", kOld)});
  for (const auto& [label, patch] : patches) {
    SCOPED_TRACE(label);
    WritePatch(kSource, kTarget, patch);
    EXPECT_EQ(Run(kSource, 1), 0);
    EXPECT_EQ(base::LastErrorText(), "Downgrade: Patchfile corrupt");
    EXPECT_EQ(platform::ListFolder(settings.VersionsDir).size(), 1u);
    for (const std::string& outside : {dir() + "escape.txt", settings.CacheDir + "escape.txt"})
      EXPECT_FALSE(platform::Exists(outside)) << outside;
  }
}

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
}  // namespace oxlip::versions
