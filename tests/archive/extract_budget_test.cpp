// A cap on what extractions may write, for both archive kinds; files written on several
// threads, where every thread does its share under the one budget and the failure reported is
// the first in entry order, whichever thread met it first.
#include "archive/extract_budget.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "archive/parallel_entries.h"
#include "archive_fixtures.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

class ExtractBudgetTest : public InTempFolder {};

TEST_F(ExtractBudgetTest, AnExtractionThatWouldGoBeyondFailsAndSaysSo) {
  const std::vector<FakeEntry> entries = {{"a.txt", std::string(600, 'a')},
                                          {"dir/b.txt", std::string(600, 'b')}};
  MakeZip("two.zip", entries);
  MakeSevenZ("two.7z", entries);
  // A zip bomb in disguise: its entry claims 600 bytes and unpacks to 5000.
  MakeZip("liar.zip", {{"dir/b.txt", std::string(5000, 'b')}});
  std::string liar = ReadFile("liar.zip");
  for (std::size_t at : {std::size_t{22}, liar.find("PK\1\2") + 24})
    liar.replace(at, 4, std::string("\x58\x02\0\0", 4));
  WriteFile("liar.zip", liar);
  for (const char* archive : {"two.zip", "two.7z", "liar.zip"}) {
    SCOPED_TRACE(archive);
    archive::ExtractBudget budget(1000);
    EXPECT_NE(ExtractTo(archive, "out"), 0);
    EXPECT_TRUE(budget.exceeded());
    // The file that did not fit is not there, not even in part.
    EXPECT_EQ(ListTree("out").count("dir/b.txt"), 0u);
  }
  archive::ExtractBudget budget(1200);
  EXPECT_EQ(RunArchiver("x two.7z -aoa"), 0);  // into the current folder
  EXPECT_FALSE(budget.exceeded());
  EXPECT_EQ(budget.written(), 1200u);
}

TEST(UnpackLimit, HundredTimesTheArchiveAtLeast64MbAndAGigabyteKeptFree) {
  using archive::UnpackLimitFor;
  constexpr std::uint64_t kMb = 1 << 20;
  EXPECT_EQ(UnpackLimitFor(10 * kMb, std::nullopt).bytes, 1000 * kMb);
  EXPECT_EQ(UnpackLimitFor(1000, std::nullopt).bytes, 64 * kMb);
  archive::UnpackLimit by_disk = UnpackLimitFor(10 * kMb, 1024 * kMb + 300 * kMb);
  EXPECT_EQ(by_disk.bytes, 300 * kMb);
  EXPECT_TRUE(by_disk.by_disk);
  EXPECT_EQ(UnpackLimitFor(10 * kMb, 500 * kMb).bytes, 0u);
  EXPECT_FALSE(UnpackLimitFor(10 * kMb, 1ull << 40).by_disk);
  EXPECT_EQ(UnpackLimitFor(UINT64_MAX / 2, std::nullopt).bytes, UINT64_MAX);
}

constexpr std::size_t kEntryBytes = 300000;

class ParallelEntries : public InTempFolder {
 protected:
  ParallelEntries() {
    for (int e = 0; e < 8; ++e) {
      archive::EntryInfo entry;
      entry.name = "e" + std::to_string(e);
      entry.size = kEntryBytes;
      entries.push_back(entry);
      plans.push_back({archive::EntryAction::kFile, "sub/" + entry.name});
    }
    command.letter = 'x';
    command.overwrite = true;
  }

  // Each thread's first read waits (a while at most) until two threads are reading, so both
  // surely take part; `hold` lets one entry wait for another to have failed.
  archive::EntryReader Reader() {
    return [this](std::size_t index, const archive::Sink& sink, std::string* error) {
      std::unique_lock lock(mutex);
      readers.insert(std::this_thread::get_id());
      changed.notify_all();
      changed.wait_for(lock, std::chrono::seconds(5), [&] { return readers.size() >= 2; });
      if (hold.count(index))
        changed.wait_for(lock, std::chrono::seconds(5), [&] { return failed.count(hold[index]); });
      if (failing.count(index)) {
        failed.insert(index);
        changed.notify_all();
        *error = "damaged " + entries[index].name;
        return false;
      }
      lock.unlock();
      return sink(std::string(kEntryBytes, 'x').data(), kEntryBytes);
    };
  }

  bool Write(std::string* error) {
    archive::OutputFolder out(dir() + "out");
    return out.Prepare(error) && archive::WriteEntries(
                                     out, command, entries, plans, Reader(),
                                     [this](std::string*) { return Reader(); }, 2, error);
  }

  archive::Command command;
  std::vector<archive::EntryInfo> entries;
  std::vector<archive::PlannedEntry> plans;
  std::mutex mutex;
  std::condition_variable changed;
  std::set<std::thread::id> readers;
  std::set<std::size_t> failing, failed;
  std::map<std::size_t, std::size_t> hold;
};

TEST_F(ParallelEntries, TheFirstFailureInEntryOrderIsReported) {
  failing = {2, 6};
  hold[2] = 6;  // entry 2 fails only after entry 6 did
  std::string error;
  EXPECT_FALSE(Write(&error));
  EXPECT_EQ(error, "damaged e2");
  EXPECT_EQ(readers.size(), 2u);
  Listing written = ListTree(dir() + "out/sub");
  EXPECT_EQ(written.count("e2") + written.count("e6"), 0u);
  for (const auto& [name, item] : written) EXPECT_EQ(item.size, kEntryBytes) << name;
}

TEST_F(ParallelEntries, EveryThreadChargesTheOneBudget) {
  archive::ExtractBudget budget(3 * kEntryBytes);
  std::string error;
  EXPECT_FALSE(Write(&error));
  EXPECT_TRUE(budget.exceeded());
  EXPECT_EQ(readers.size(), 2u);
  EXPECT_EQ(ListTree(dir() + "out/sub").size(), 3u);
}

}  // namespace
}  // namespace oxlip::test
