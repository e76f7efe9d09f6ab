#pragma once
// Progress of a codec that works row by row: reports each new percentage and
// tells the codec when the caller asked it to stop.
#include <algorithm>
#include <cstdint>

#include "imaging/core/Progress.h"

namespace glamora::codec {

class RowProgress {
 public:
  RowProgress(const ProgressRecord& progress, int64_t rows) : progress_(progress), rows_(std::max<int64_t>(rows, 1)) {}

  // Call after `done` rows; false when the codec should stop.
  bool Row(int64_t done) {
    const int percent = int(std::clamp<int64_t>(done * 100 / rows_, 0, 100));
    if (percent != last_) {
      last_ = percent;
      progress_.Report(percent);
    }
    return !progress_.Aborted();
  }

 private:
  const ProgressRecord& progress_;
  int64_t rows_;
  int last_ = -1;
};

}  // namespace glamora::codec
