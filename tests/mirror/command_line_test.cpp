// Starting and stopping the program, and what it says about bad command lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "mirror_tree.h"

namespace oxlip::test {
namespace {

class MirrorCommandLine : public InTempFolder {
 protected:
  void SetUp() override { WriteServedFile(dir() + "root/", "download/minecraft.jar", "jar"); }

  // The exit code of a run that must end by itself; its error output in `err`.
  int RunToExit(const std::string& options) {
    std::string command =
        std::string(OXLIP_MIRROR_PATH) + " " + options + " >out.txt 2>err.txt </dev/null";
    int status = std::system(command.c_str());
    err = ReadFile(dir() + "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string err;
};

TEST_F(MirrorCommandLine, BadOptionsEndWithAMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "--root DIR is required"},
      {"--root missing", "'missing' is not a folder"},
      {"--root root --port 70000", "--port '70000'"},
      {"--root root --port", "needs a value"},
      {"--root root --delay -5", "--delay '-5'"},
      {"--root root --fault explode:/x", "KIND:PATHPREFIX[:COUNT]"},
      {"--root root --fault drop:x", "must start with /"},
      {"--root root --fault drop:/x:0", "COUNT"},
      {"--root root --users nobody.txt", "'nobody.txt' cannot be read"},
      {"--root root --users root/download/minecraft.jar", "jar:1: expected user:password"},
      {"--root root --log nofolder/log.txt", "cannot be opened"},
      {"--root root --colour red", "unknown option '--colour'"},
  };
  for (const auto& [options, message] : cases) {
    EXPECT_EQ(RunToExit(options), 2) << options;
    EXPECT_NE(err.find(message), std::string::npos) << options << ": " << err;
  }
  EXPECT_EQ(RunToExit("--help"), 0);
  EXPECT_NE(ReadFile(dir() + "out.txt").find("usage: oxlip-mirror"), std::string::npos);
}

TEST_F(MirrorCommandLine, WithoutUsersNobodyLogsInAndTerminateEndsCleanly) {
  MirrorProcess mirror(dir() + "root/");
  ASSERT_GT(mirror.port(), 0);
  EXPECT_EQ(HttpGet(mirror.Url("?user=Notch&password=x&version=99")).body, "Bad login");
  EXPECT_EQ(mirror.Stop(), 0);
}

TEST_F(MirrorCommandLine, AFixedPortIsUsedAndReported) {
  int free_port = 0;
  {
    MirrorProcess probe(dir() + "root/");
    free_port = probe.port();
  }
  ASSERT_GT(free_port, 0);
  MirrorProcess mirror(dir() + "root/", {"--port", std::to_string(free_port)});
  EXPECT_EQ(mirror.port(), free_port);
  EXPECT_EQ(HttpGet(mirror.Url("download/minecraft.jar")).body, "jar");
}

TEST_F(MirrorCommandLine, ADelayHoldsEveryAnswer) {
  MirrorProcess mirror(dir() + "root/", {"--delay", "300"});
  for (const char* path : {"download/", "download/minecraft.jar"}) {
    auto start = std::chrono::steady_clock::now();
    HttpGet(mirror.Url(path));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300)) << path;
  }
}

}  // namespace
}  // namespace oxlip::test
