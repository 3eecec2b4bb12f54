// Starting and stopping the program, and what it says about bad command lines.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "mirror_tree.h"

namespace oxlip::test {
namespace {

// An IPv4 address of this machine other than loopback; "" when it has none.
std::string NetworkAddress() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return "";
  std::string found;
  for (ifaddrs* entry = list; entry && found.empty(); entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
    in_addr address = reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr;
    char text[INET_ADDRSTRLEN];
    if ((ntohl(address.s_addr) >> 24) != 127 && inet_ntop(AF_INET, &address, text, sizeof text))
      found = text;
  }
  freeifaddrs(list);
  return found;
}

class MirrorCommandLine : public InTempFolder {
 protected:
  void SetUp() override { WriteFile(dir() + "root/download/minecraft.jar", "jar"); }

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

// A fixed port is used; a delay holds every answer; without users nobody logs in; terminating
// ends cleanly.
TEST_F(MirrorCommandLine, AFixedPortADelayAndNoUsers) {
  int free_port = MirrorProcess(dir() + "root/").port();
  ASSERT_GT(free_port, 0);
  MirrorProcess mirror(dir() + "root/", {"--port", std::to_string(free_port), "--delay", "300"});
  EXPECT_EQ(mirror.port(), free_port);
  for (const char* path : {"download/", "download/minecraft.jar"}) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpGet(mirror.Url(path)).status, 200);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300)) << path;
  }
  EXPECT_EQ(HttpGet(mirror.Url("game/login?user=Notch&version=99")).body, "Bad login");
  EXPECT_EQ(mirror.Stop(), 0);
}

// Other machines of a home network reach the mirror only when --bind asks for it.
TEST_F(MirrorCommandLine, OnlyLoopbackUnlessBindSaysOtherwise) {
  std::string address = NetworkAddress();
  if (address.empty()) GTEST_SKIP() << "this machine has no network address besides loopback";
  auto from_network = [&](const MirrorProcess& mirror) {
    return HttpGet("http://" + address + ":" + std::to_string(mirror.port()) +
                   "/download/minecraft.jar");
  };
  MirrorProcess local(dir() + "root/");
  ASSERT_GT(local.port(), 0);
  EXPECT_EQ(from_network(local).status, 0);
  MirrorProcess shared(dir() + "root/", {"--bind", "0.0.0.0"});
  ASSERT_GT(shared.port(), 0);
  EXPECT_EQ(from_network(shared).body, "jar");
}

}  // namespace
}  // namespace oxlip::test
