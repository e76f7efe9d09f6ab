#pragma once
// Progress of a long job on the terminal: one line on standard error,
// rewritten in place as the percentage grows and cleared at the end. Nothing
// at all when standard error is no terminal (a pipe, a file, a log).
#include <cstdio>
#include <string>

#include "imaging/core/Progress.h"

namespace glamora::cli {

class TerminalProgress {
 public:
  explicit TerminalProgress(std::FILE* to = stderr);
  ~TerminalProgress();
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  // A handler that shows "label NN%" while one stage of the job runs.
  ProgressHandler Stage(const std::string& label);

 private:
  void Show(const std::string& label, int percent);

  std::FILE* to_;
  bool terminal_;
  bool shown_ = false;
  std::string lastLabel_;
  int lastPercent_ = -1;
};

}  // namespace glamora::cli
