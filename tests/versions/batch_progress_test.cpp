#include "versions/batch_progress.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

// Minutes and two-digit seconds, truncated; no estimate before the first byte, and a stalled
// start must not turn into a giant or undefined one.
TEST(BatchProgress, TimeTextAndPercentOverTheWholeBatch) {
  const struct {
    int elapsed_ms;
    std::int64_t done, total;
    const char* text;
    int percent;
  } cases[] = {{7000, 7, 102, "0:07 ETA:1:42", 6},
               {3599999, 100, 100, "59:59 ETA:59:59", 100},
               {3600000, 1, 2, "60:00 ETA:120:00", 50},
               {999, 1, 1000, "0:00 ETA:16:39", 0},
               {61000, 0, 5000000, "1:01 ETA:-:--", 0},
               {1000, 1, 2000000000000, "0:01 ETA:525600:00", 0},
               {0, 299, 300, "0:00 ETA:0:00", 99},
               {0, 600, 300, "0:00 ETA:0:00", 100},  // a server that sends more than listed
               {0, 3000000000, 4000000000, "0:00 ETA:0:00", 75}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(BatchTimeText(c.elapsed_ms, c.done, c.total), c.text);
    EXPECT_EQ(BatchPercent(c.done, c.total), c.percent);
  }
  EXPECT_EQ(BatchPercent(0, 0), 100);  // only empty files: nothing left to wait for
}

}  // namespace
}  // namespace oxlip
