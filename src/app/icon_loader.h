#pragma once
// Reads the instances' own icons on a worker thread, so that a window with thousands of
// instances opens at once and takes their icons while it answers the person.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "image/image.h"
#include "instances/instance.h"

namespace oxlip::app {

class IconLoader {
 public:
  // The worker only reads `folder`; `record` names the record the image is for and is touched
  // by the thread that takes the result, never by the worker.
  struct Job {
    const Instance* record;
    std::string folder;
  };
  struct Loaded {
    const Instance* record;
    std::optional<image::Image> image;  // none when the folder has no icon that loads
  };
  using Reader = std::function<std::optional<image::Image>(const std::string& folder)>;

  explicit IconLoader(Reader read);
  ~IconLoader();  // stops
  IconLoader(const IconLoader&) = delete;
  IconLoader& operator=(const IconLoader&) = delete;

  // Adds jobs behind those waiting; the worker starts with the first.
  void Add(std::vector<Job> jobs);
  // Moves the waiting jobs of these records to the front, in this order.
  void Prefer(const std::vector<const Instance*>& records);
  // Up to `limit` results, in the order they were read.
  std::vector<Loaded> Take(size_t limit);
  // True while jobs wait, are read or results wait to be taken.
  bool busy() const;
  // Drops the waiting jobs and results and waits for the job being read.
  void Stop();

 private:
  void Work();

  Reader read_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> waiting_;
  std::vector<Loaded> done_;
  int reading_ = 0;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace oxlip::app
