#include "versions/batch_progress.h"

#include <gtest/gtest.h>

namespace oxlip {
namespace {

TEST(BatchTimeText, MinutesAndTwoDigitSecondsForElapsedAndWholeBatch) {
  // 7 s for 7 of 102 bytes: the whole batch takes 102 s at that rate.
  EXPECT_EQ(versions::BatchTimeText(7000, 7, 102), "0:07 ETA:1:42");
  EXPECT_EQ(versions::BatchTimeText(3599999, 100, 100), "59:59 ETA:59:59");
  EXPECT_EQ(versions::BatchTimeText(3600000, 1, 2), "60:00 ETA:120:00");
  EXPECT_EQ(versions::BatchTimeText(999, 1, 1000), "0:00 ETA:16:39");  // truncated, not rounded
}

TEST(BatchTimeText, NoEstimateBeforeTheFirstByte) {
  EXPECT_EQ(versions::BatchTimeText(0, 0, 5000000), "0:00 ETA:-:--");
  EXPECT_EQ(versions::BatchTimeText(61000, 0, 5000000), "1:01 ETA:-:--");
  // A stalled start must not turn into a giant or undefined estimate.
  EXPECT_EQ(versions::BatchTimeText(1000, 1, 2000000000000), "0:01 ETA:525600:00");
}

TEST(BatchPercent, WholePercentOverTheBatchNeverPastTheEnds) {
  EXPECT_EQ(versions::BatchPercent(0, 300), 0);
  EXPECT_EQ(versions::BatchPercent(2, 300), 0);
  EXPECT_EQ(versions::BatchPercent(299, 300), 99);
  EXPECT_EQ(versions::BatchPercent(300, 300), 100);
  EXPECT_EQ(versions::BatchPercent(600, 300), 100);  // a server that sends more than listed
  EXPECT_EQ(versions::BatchPercent(0, 0), 100);      // only empty files: nothing left to wait for
  EXPECT_EQ(versions::BatchPercent(3000000000, 4000000000), 75);  // past 32 bits
}

}  // namespace
}  // namespace oxlip
