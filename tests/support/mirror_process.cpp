#include "support/mirror_process.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace oxlip::test {
namespace {

// Generous, because a sanitizer build starts slowly on a busy machine.
constexpr int kStartTimeoutMs = 30000;
constexpr auto kStopTimeout = std::chrono::seconds(15);

size_t AppendBody(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

// The first line the child writes, "" when none comes in time.
std::string ReadFirstLine(int fd) {
  pollfd waiting{fd, POLLIN, 0};
  std::string line;
  char c;
  while (poll(&waiting, 1, kStartTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

pid_t Spawn(const std::vector<std::string>& args, int out_fd) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  pid_t pid = -1;
  int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

}  // namespace

HttpAnswer HttpGet(const std::string& url) {
  HttpAnswer answer;
  CURL* curl = curl_easy_init();
  if (!curl) return answer;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);  // "/../" is sent as written
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
  answer.curl_code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
  curl_easy_cleanup(curl);
  return answer;
}

MirrorProcess::MirrorProcess(const std::string& root, const std::vector<std::string>& options) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "oxlip-mirror: no pipe";
    return;
  }
  std::vector<std::string> args = {OXLIP_MIRROR_PATH, "--root", root, "--port", "0"};
  args.insert(args.end(), options.begin(), options.end());
  pid_ = Spawn(args, pipe_fds[1]);
  close(pipe_fds[1]);
  out_ = pipe_fds[0];
  std::string line = pid_ > 0 ? ReadFirstLine(out_) : "";
  if (line.starts_with("port ")) port_ = std::atoi(line.c_str() + 5);
  if (port_ <= 0) {
    ADD_FAILURE() << "oxlip-mirror did not start (" << OXLIP_MIRROR_PATH << "): '" << line << "'";
    Stop();
  }
}

MirrorProcess::~MirrorProcess() { Stop(); }

std::string MirrorProcess::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" +
         (path.starts_with('/') ? path.substr(1) : path);
}

bool MirrorProcess::AddFault(const std::string& rule) const {
  char* encoded = curl_easy_escape(nullptr, rule.c_str(), static_cast<int>(rule.size()));
  HttpAnswer answer = HttpGet(Url("_mirror/fault?rule=" + std::string(encoded)));
  curl_free(encoded);
  return answer.status == 200 && answer.body == "ok";
}

bool MirrorProcess::ClearFaults() const {
  HttpAnswer answer = HttpGet(Url("_mirror/clear"));
  return answer.status == 200 && answer.body == "ok";
}

int MirrorProcess::Stop() {
  if (out_ >= 0) close(out_);
  out_ = -1;
  port_ = 0;
  if (pid_ <= 0) return -1;
  pid_t pid = pid_;
  pid_ = -1;
  kill(pid, SIGTERM);
  auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace oxlip::test
