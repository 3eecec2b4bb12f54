#include "support/write_limit.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace oxlip::test {
namespace {

constexpr int kCannotMakeFault = 4;

bool LimitWrites(std::uint64_t bytes) {
  const rlimit limit = {bytes, bytes};
  ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
  return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// In a mount namespace of the child's own, so the mount goes with it.
bool Mount(DiskFault fault, const std::string& folder) {
  if (::unshare(CLONE_NEWNS) != 0 ||
      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return false;
  if (fault == DiskFault::kFull)
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
  return ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
         ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

std::optional<std::string> InChild(const std::function<bool()>& setup,
                                   const std::function<std::string()>& work, bool* skipped) {
  if (skipped) *skipped = false;
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return std::nullopt;
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    if (!setup()) ::_exit(kCannotMakeFault);
    std::string answer = work();
    for (std::size_t done = 0; done < answer.size();) {
      ssize_t wrote = ::write(pipe_ends[1], answer.data() + done, answer.size() - done);
      if (wrote <= 0) ::_exit(3);
      done += static_cast<std::size_t>(wrote);
    }
    ::_exit(0);
  }
  ::close(pipe_ends[1]);
  std::string answer;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
    answer.append(buffer, static_cast<std::size_t>(got));
  ::close(pipe_ends[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return std::nullopt;
  if (WEXITSTATUS(status) == kCannotMakeFault && skipped) *skipped = true;
  if (WEXITSTATUS(status) != 0) return std::nullopt;
  return answer;
}

}  // namespace

std::optional<std::string> InChildWithWriteLimit(std::uint64_t bytes,
                                                 const std::function<std::string()>& work) {
  return InChild([bytes] { return LimitWrites(bytes); }, work, nullptr);
}

std::optional<std::string> InChildWithFault(DiskFault fault, const std::string& folder,
                                            const std::function<std::string()>& work,
                                            bool* skipped) {
  auto setup = [&] {
    return fault == DiskFault::kWriteLimit ? LimitWrites(0) : Mount(fault, folder);
  };
  return InChild(setup, work, skipped);
}

}  // namespace oxlip::test
