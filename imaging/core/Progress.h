#pragma once
// What a codec or a long operation receives to report progress and to learn
// that it should stop.
#include <functional>

namespace glamora {

// Called with a percentage 0..100 while long work runs.
using ProgressHandler = std::function<void(int percent)>;

struct ProgressRecord {
  ProgressHandler OnProgress;
  bool* Aborting = nullptr;  // set by the codec on failure; may be set by the caller to stop

  void Report(int percent) const {
    if (OnProgress) OnProgress(percent);
  }
  bool Aborted() const { return Aborting && *Aborting; }
  void Abort() const {
    if (Aborting) *Aborting = true;
  }
};

}  // namespace glamora
