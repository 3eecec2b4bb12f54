#include "support/write_limit.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace oxlip::test {

std::optional<std::string> InChildWithWriteLimit(std::uint64_t bytes,
                                                 const std::function<std::string()>& work) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return std::nullopt;
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    struct rlimit limit {
      bytes, bytes
    };
    ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
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
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return std::nullopt;
  return answer;
}

}  // namespace oxlip::test
