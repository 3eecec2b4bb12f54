#pragma once
// Where long work reports how far it is: the name text, the time text and the progress bar of
// a status or download window, and learns whether the person cancelled it. Any thread may call;
// the GUI marshals to its own thread.
#include <string>

namespace oxlip::base {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetName(const std::string& text) = 0;
  virtual void SetTime(const std::string& text) = 0;
  virtual void SetPercent(int percent) = 0;  // 0 to 100
  // True once the person asked the work to stop. Work that offers Cancel asks between files and
  // then undoes what it began, so the state is as before the command.
  virtual bool Cancelled() { return false; }
};

// A sink for callers that show nothing.
class NoProgress : public ProgressSink {
 public:
  void SetName(const std::string&) override {}
  void SetTime(const std::string&) override {}
  void SetPercent(int) override {}
};

}  // namespace oxlip::base
