#pragma once
// The oxlip-mirror program as a child process of a test, on a free loopback port, and a plain
// HTTP GET to talk to it.
#include <sys/types.h>

#include <string>
#include <vector>

namespace oxlip::test {

struct HttpAnswer {
  int curl_code = -1;  // 0 (CURLE_OK) when the whole answer arrived
  long status = 0;     // 0 when no answer came
  std::string body;    // what arrived, also when the transfer was cut short
};

// One GET with libcurl, following no redirects, with the path sent as written (".." too).
HttpAnswer HttpGet(const std::string& url);

class MirrorProcess {
 public:
  // Starts the mirror serving `root` with more options, for example {"--fault", "drop:/x"},
  // and waits until it listens. When that fails a test failure is recorded and port() is 0.
  explicit MirrorProcess(const std::string& root, const std::vector<std::string>& options = {});
  ~MirrorProcess();
  MirrorProcess(const MirrorProcess&) = delete;
  MirrorProcess& operator=(const MirrorProcess&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>/" followed by `path` (a leading "/" is allowed).
  std::string Url(const std::string& path = "") const;

  // Adds a rule "KIND:PATHPREFIX[:COUNT]" or removes all rules while the mirror runs.
  bool AddFault(const std::string& rule) const;
  bool ClearFaults() const;

  // Ends it with SIGTERM; its exit code, or -1 when it had to be killed or was not running.
  int Stop();

 private:
  pid_t pid_ = -1;
  int out_ = -1;  // its standard output, kept open while it runs
  int port_ = 0;
};

}  // namespace oxlip::test
