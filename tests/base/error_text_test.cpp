#include "base/error_text.h"

#include <gtest/gtest.h>

#include <thread>

namespace oxlip {
namespace {

TEST(ErrorText, WorkerTextIsSeenAfterJoin) {
  std::thread worker([] { SetErrorText("from worker"); });
  worker.join();
  EXPECT_EQ(base::LastErrorText(), "from worker");
}

}  // namespace
}  // namespace oxlip
