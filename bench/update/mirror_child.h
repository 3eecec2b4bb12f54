#pragma once
// The oxlip-mirror program as a child of the benchmark, on a free loopback port.
#include <sys/types.h>

#include <string>
#include <vector>

class MirrorChild {
 public:
  // Serves `root`, logging every request to `log`, with `extra` options; port() is 0 when it
  // did not start.
  MirrorChild(const std::string& program, const std::string& root, const std::string& log,
              const std::vector<std::string>& extra = {});
  ~MirrorChild();
  MirrorChild(const MirrorChild&) = delete;
  MirrorChild& operator=(const MirrorChild&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& path) const;

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int port_ = 0;
};
