// Child processes: their own environment, working folder and output; polled, never waited for.
#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/env.h"
#include "platform/temp_file.h"
#include "support/game_fixture.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip::platform {
namespace {

using test::ReadFile;

// A stuck child fails the test instead of hanging it.
bool Ends(Process& process) {
  return test::WaitFor([&] { return process.HasEnded(); }, std::chrono::seconds(60));
}

class ProcessTest : public test::InTempFolder {};

// Descriptors we opened without close-on-exec are not the child's.
TEST_F(ProcessTest, ChildGetsItsOwnEnvironmentFolderAndOutputFileAndNoneOfOurDescriptors) {
  std::string home_before = GetEnvironment("HOME");
  test::WriteFile(dir() + "work/marker", "");
  int leaked = ::open(dir().c_str(), O_RDONLY);  // no O_CLOEXEC
  ASSERT_GE(leaked, 3);
  ProcessStart start;
  start.args = {"sh", "-c",
                "echo \"home=$HOME\"; pwd; ls; echo oops >&2; ls /proc/$$/fd/" +
                    std::to_string(leaked) + " 2>/dev/null; exit 3"};
  start.working_folder = dir() + "work\\";
  start.environment = {{"HOME", "/instances/a b"}};
  start.output_file = dir() + "out.log";
  test::WriteFile(start.output_file, "an older run\n");
  std::optional<Process> process = Process::Start(start);
  ::close(leaked);
  ASSERT_TRUE(process);
  EXPECT_GT(process->id(), 0);
  ASSERT_TRUE(Ends(*process));
  EXPECT_EQ(process->exit_code(), 3);
  EXPECT_EQ(process->end_signal(), 0);
  EXPECT_EQ(ReadFile(dir() + "out.log"), "home=/instances/a b\n" + dir() + "work\nmarker\noops\n");
  EXPECT_EQ(GetEnvironment("HOME"), home_before);  // ours as it was
  EXPECT_TRUE(process->HasEnded());                // and stays ended
}

TEST_F(ProcessTest, MissingProgramOrFolderIsNoProcess) {
  EXPECT_FALSE(Process::Start({{"oxlip-no-such-program"}, "", {}, ""}));
  EXPECT_FALSE(Process::Start({{"sh", "-c", "true"}, dir() + "missing", {}, ""}));
  EXPECT_FALSE(Process::Start({{}, "", {}, ""}));
}

TEST_F(ProcessTest, RunsUntilItEndsAndItsChildrenBelongToItsTree) {
  std::optional<Process> process =
      Process::Start({{"sh", "-c", "sleep 300 & echo $! > child; wait"}, dir(), {}, ""});
  ASSERT_TRUE(process);
  // The child's id is there once the shell has written it whole.
  std::string child;
  ASSERT_TRUE(test::WaitFor([&] { return (child = ReadFile(dir() + "child")).ends_with('\n'); }));
  int child_id = std::atoi(child.c_str());
  EXPECT_FALSE(process->HasEnded());
  EXPECT_FALSE(process->exit_code());
  EXPECT_TRUE(InProcessTree(child_id, process->id()));
  EXPECT_TRUE(InProcessTree(process->id(), process->id()));
  EXPECT_FALSE(InProcessTree(process->id(), child_id));
  EXPECT_FALSE(InProcessTree(static_cast<int>(::getpid()), process->id()));
  ::kill(child_id, SIGTERM);
  EXPECT_TRUE(Ends(*process));
}

TEST_F(ProcessTest, ASignalsEndIsKeptAndMovesWithTheProcessAndTellsAnEndOnRequest) {
  std::optional<Process> started = Process::Start({{"sh", "-c", "kill -KILL $$"}, "", {}, ""});
  ASSERT_TRUE(started);
  ASSERT_TRUE(Ends(*started));
  Process process = std::move(*started);
  EXPECT_EQ(process.end_signal(), SIGKILL);
  EXPECT_FALSE(process.exit_code());
  EXPECT_FALSE(process.EndedOnRequest());  // kill -9 is what the system does to a runaway
  // Asked to end: by the signal itself, or by the code of a program that handled it.
  for (const char* script : {"kill -TERM $$", "trap 'exit 143' TERM; kill -TERM $$; sleep 60"}) {
    SCOPED_TRACE(script);
    std::optional<Process> asked = Process::Start({{"sh", "-c", script}, "", {}, ""});
    ASSERT_TRUE(asked);
    ASSERT_TRUE(Ends(*asked));
    EXPECT_TRUE(asked->EndedOnRequest());
  }
}

TEST(TempFile, ExclusiveOwnerOnlyAndGoneWithTheObject) {
  test::TempFolder folder;
  test::ScopedEnvironment tmpdir("TMPDIR", folder.path());
  std::string path;
  {
    std::optional<TempFile> file = TempFile::Create("Oxlip");
    ASSERT_TRUE(file);
    path = file->path();
    EXPECT_EQ(path.rfind(folder.path() + "Oxlip", 0), 0u) << path;
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::optional<TempFile> other = TempFile::Create("Oxlip");
    ASSERT_TRUE(other);
    EXPECT_NE(other->path(), path);
  }
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

}  // namespace
}  // namespace oxlip::platform
