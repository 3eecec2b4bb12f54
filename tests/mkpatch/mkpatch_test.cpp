// oxlip-mkpatch: the delta search (what it finds must rebuild the target exactly, near edits
// must cost little), what the patch writer refuses, and the program with Downgrade together: a
// patch made from jar A to jar B, applied to A in the version store, gives B's files bit for bit
// with B's version in "ver.ini".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "base/error_text.h"
#include "delta_encoder.h"
#include "patch_writer.h"
#include "platform/fs.h"
#include "support/downgrade_fixture.h"
#include "support/fixture_paths.h"
#include "versions/delta_apply.h"
#include "versions/downgrade.h"
#include "versions/version_index.h"

namespace oxlip::mkpatch {
namespace {

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

// The delta of `old` to `target`, checked to rebuild `target` with nothing left over.
std::string Rebuilt(const std::string& old, const std::string& target) {
  std::string delta = EncodeDelta(old, target), output;
  versions::PatchCursor cursor(delta);
  auto sink = [&output](std::string_view bytes) {
    output += bytes;
    return true;
  };
  EXPECT_EQ(versions::ApplyDelta(old, std::int64_t(target.size()), cursor, sink),
            versions::DeltaStatus::kDone);
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_TRUE(output == target);
  return delta;
}

TEST(DeltaEncoderTest, RebuildsExactlyAndNearEditsAreCheap) {
  std::string old = Random(20000, 1), target = old;
  target.replace(1000, 4, "edit");
  target.insert(5000, "inserted bytes, 100 or fewer of them");
  target.erase(9000, 60);
  target[15000] ^= 0x55;
  EXPECT_LT(Rebuilt(old, target).size(), 100u);
  // Copies reach offsets -128 to 127: shifted by 127 bytes the old content can still be copied,
  // by 129 it cannot.
  EXPECT_LT(Rebuilt(old, Random(127, 3) + old).size(), 200u);
  EXPECT_GT(Rebuilt(old, Random(129, 4) + old).size(), old.size() + 129);

  std::string zeros(200000, '\0');  // one long run: copies split at their longest form
  Rebuilt(zeros, zeros);
  Rebuilt("", "");
  Rebuilt("old", "");
  Rebuilt("", Random(70000, 5));
  for (unsigned seed = 0; seed < 50; ++seed) {
    std::mt19937 random(seed);
    std::string from = Random(random() % 3000, seed), to = from;
    for (int edits = random() % 20; edits > 0 && !to.empty(); --edits) {
      size_t at = random() % to.size();
      if (random() % 2)
        to.insert(at, Random(random() % 40, seed + edits));
      else
        to.erase(at, random() % 40);
    }
    Rebuilt(from, to);
  }
}

// What the patch format cannot hold. Which record each file gets is seen in the round trip.
TEST(PatchWriterTest, WhatTheFormatCannotHoldIsRefused) {
  std::string patch, error;
  PatchStats stats;
  EXPECT_FALSE(MakePatch({}, {{std::string(256, 'n'), "x", 0}}, &patch, &stats, &error));
  EXPECT_NE(error.find("255"), std::string::npos);
  EXPECT_TRUE(MakePatch({}, {{std::string(255, 'n'), "x", 0}}, &patch, &stats, &error));
  EXPECT_FALSE(MakePatch({}, {{"a\r\nb", "x", 0}}, &patch, &stats, &error));
}

using test::JarContents;
using test::JarDates;
using test::JarFiles;

constexpr char kMainClass[] = "net/minecraft/client/Minecraft.class";

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class MkpatchRoundTripTest : public test::DowngradeTest {
 protected:
  // Runs the program; its exit code, with what it printed in `output`.
  int RunTool(const std::string& arguments, std::string* output = nullptr) {
    std::string command = std::string(OXLIP_MKPATCH_PATH) + " " + arguments + " > said.txt 2>&1";
    int status = std::system(command.c_str());
    if (output) *output = test::ReadFile("said.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // A fixture game jar (below assets/) copied to `path`.
  void CopyFixture(const std::string& key, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(platform::CopyFile(test::FixtureRoot() + "assets/" + key, path)) << key;
  }

  // Runs the program from `source` to `target` into `patch` (the patch folder when empty); what
  // it printed.
  std::string MakePatch(const std::string& source, const std::string& target,
                        std::string patch = "") {
    std::string output;
    if (patch.empty()) patch = settings.PatchDir;
    EXPECT_EQ(RunTool(Quoted(source) + " " + Quoted(target) + " " + Quoted(patch), &output), 0)
        << output;
    return output;
  }
};

TEST_F(MkpatchRoundTripTest, AChainOfPatchesWalksDownThroughThreeVersions) {
  const struct {
    const char *key, *file, *text;
  } versions[] = {{"12w08a/minecraft.jar", "minecraft - 12w08a.jar", "12w08a"},
                  {"1_1/minecraft.jar", "minecraft - 1.1.jar", "1.1"},
                  {"1_0/minecraft.jar", "minecraft - 1.0.jar", "1.0"},
                  {"b1_8/MINECRAFT.JAR", "minecraft - Beta 1.8.1.jar", "Beta 1.8.1"}};
  for (const auto& v : versions) CopyFixture(v.key, dir() + "originals/" + v.file);
  // Each patch is made from the original jar of its source, stored while it is made.
  for (size_t i = 0; i + 1 < std::size(versions); ++i) {
    CopyFixture(versions[i].key, Jar(versions[i].file));
    MakePatch(Jar(versions[i].file), dir() + "originals/" + versions[i + 1].file);
    if (i > 0) platform::DeleteFile(Jar(versions[i].file));
  }

  ASSERT_EQ(Run(versions[0].file, 1), 1) << base::LastErrorText();
  EXPECT_EQ(base::LastErrorText(), "Downgrade: no patch file");
  std::string records;
  for (size_t i = 1; i < std::size(versions); ++i) {
    // The made jar has the original's files, dates and version.
    SCOPED_TRACE(versions[i].file);
    std::string original = dir() + "originals/" + versions[i].file;
    EXPECT_FALSE(JarContents(original).empty());
    EXPECT_EQ(JarContents(Jar(versions[i].file)), JarContents(original));
    EXPECT_EQ(JarDates(Jar(versions[i].file)), JarDates(original));
    records += versions::VersionRecordBytes(versions[i].file, versions[i].text,
                                            JarDates(original)[kMainClass]);
  }
  EXPECT_EQ(VerIni(), records);
}

// Folders as source and target (the chain above reads jars), with every kind of change.
TEST_F(MkpatchRoundTripTest, GeneratedTreesWithEveryKindOfChange) {
  std::string edited = Random(8000, 1);
  JarFiles source{{kMainClass, test::MainClassBytes("2.0")},
                  {"same.bin", Random(10000, 2)},
                  {"edited.class", edited},
                  {"rewritten.bin", Random(2000, 3)},
                  {"removed/old.txt", "only in the source"},
                  {"kept empty.txt", ""}};
  edited.replace(100, 3, "new");
  edited.insert(4000, "inserted");
  JarFiles target{{kMainClass, test::MainClassBytes("1.9")},
                  {"same.bin", Random(10000, 2)},
                  {"edited.class", edited},
                  {"rewritten.bin", Random(2100, 4)},
                  {"added/deep/new.txt", "only in the target"},
                  {"added/empty folder/", ""},
                  {"kept empty.txt", ""},
                  {"new empty.txt", ""}};
  test::MakeJar(Jar("minecraft - 2.0.jar"), source, 1300000000);
  test::WriteTree(dir() + "source/", source, 1300000000);
  test::WriteTree(dir() + "minecraft - 1.9/", target, 1290000000);
  std::string output = MakePatch(dir() + "source", dir() + "minecraft - 1.9/",
                                 settings.PatchDir + "minecraft - 2.0#minecraft - 1.9.patch");
  // Six folders, same.bin and the empty file kept; both classes as deltas.
  EXPECT_NE(output.find("(8 kept, 2 deltas, 3 new)"), std::string::npos) << output;

  ASSERT_EQ(Run("minecraft - 2.0.jar", 0), 1) << base::LastErrorText();
  EXPECT_EQ(JarContents(Jar("minecraft - 1.9.jar")), test::ReadTree(dir() + "minecraft - 1.9/"));
  EXPECT_EQ(VerIni(), versions::VersionRecordBytes("minecraft - 1.9.jar", "1.9", 1290000000));
}

TEST_F(MkpatchRoundTripTest, UsageAndFailures) {
  std::string output;
  EXPECT_EQ(RunTool("--help", &output), 0);
  EXPECT_EQ(output.rfind("Usage: ", 0), 0u) << output;
  EXPECT_EQ(RunTool("only-one", &output), 2);
  EXPECT_EQ(RunTool("missing.jar also-missing.jar out.patch", &output), 1);
  EXPECT_EQ(output.rfind("oxlip-mkpatch: can't open", 0), 0u) << output;
  EXPECT_FALSE(platform::Exists(dir() + "out.patch"));
}

}  // namespace
}  // namespace oxlip::mkpatch
