// oxlip-mirror: serves a folder as the game's download buckets and a login endpoint.
#include <httplib.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "mirror_server.h"
#include "options.h"

namespace {

using namespace oxlip::mirror;

std::atomic<bool> g_listen_done{false};
std::atomic<bool> g_stop_requested{false};

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Stop is retried because a signal can come before the server has begun to listen, when a
// stop request is not yet heard.
std::thread StopOnSignal(httplib::Server& server) {
  return std::thread([&server] {
    sigset_t set = StopSignals();
    int signal = 0;
    sigwait(&set, &signal);
    g_stop_requested = true;
    while (!g_listen_done) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

int Bind(httplib::Server& server, const Options& options) {
  if (options.port == 0) return server.bind_to_any_port(options.bind);
  return server.bind_to_port(options.bind, options.port) ? options.port : -1;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "oxlip-mirror: %s\n", message.c_str());
  return 2;
}

// The server's state from the options; nullptr with `error` set when one of them is bad.
std::unique_ptr<MirrorServer> MakeMirror(const Options& options, RequestLog& log,
                                         FaultTable& faults, std::string& error) {
  std::optional<BucketTree> tree = BucketTree::Open(options.root, error);
  if (!tree) return nullptr;
  std::optional<Users> users = Users();
  if (!options.users_file.empty()) users = Users::Load(options.users_file, error);
  if (!users) return nullptr;
  if (!options.log_file.empty() && !log.Open(options.log_file, error)) return nullptr;
  for (const FaultRule& rule : options.faults) faults.Add(rule);
  return std::make_unique<MirrorServer>(std::move(*tree), std::move(*users), log, faults);
}

int ServeUntilStopped(httplib::Server& server) {
  std::thread stopper = StopOnSignal(server);
  bool listened = server.listen_after_bind();
  g_listen_done = true;
  if (g_stop_requested) {
    stopper.join();
    return 0;
  }
  stopper.detach();
  return listened ? 0 : Fail("the server stopped unexpectedly");
}

int Run(const Options& options) {
  std::string error;
  RequestLog log;
  FaultTable faults;
  std::unique_ptr<MirrorServer> mirror = MakeMirror(options, log, faults, error);
  if (!mirror) return Fail(error);
  httplib::Server server;
  // Clients fetch hundreds of small files over a few kept-alive connections: small answers
  // must not wait for the next segment, and a connection must outlive its fifth request.
  server.set_tcp_nodelay(true);
  server.set_keep_alive_max_count(100000);
  auto delay = std::chrono::milliseconds(options.delay_ms);
  server.set_pre_routing_handler(
      [&mirror, delay](const httplib::Request& req, httplib::Response& res) {
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        mirror->Handle(req, res);
        return httplib::Server::HandlerResponse::Handled;
      });
  int port = Bind(server, options);
  if (port < 0)
    return Fail("cannot listen on " + options.bind + ":" + std::to_string(options.port));
  std::printf("port %d\n", port);
  std::fflush(stdout);
  return ServeUntilStopped(server);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "oxlip-mirror: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  // Blocked before any thread starts so that only the stopper thread receives them.
  sigset_t stop = StopSignals();
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return Run(*options);
}
