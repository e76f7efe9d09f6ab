// Progress of a long job on the terminal.
#include "tools/cli/TerminalProgress.h"

#include <unistd.h>

#include <algorithm>

namespace glamora::cli {

TerminalProgress::TerminalProgress(std::FILE* to) : to_(to), terminal_(::isatty(::fileno(to)) == 1) {}

TerminalProgress::~TerminalProgress() {
  // The command's own lines start on a clean line.
  if (shown_) {
    std::fputs("\r\033[K", to_);
    std::fflush(to_);
  }
}

ProgressHandler TerminalProgress::Stage(const std::string& label) {
  if (!terminal_) return {};
  return [this, label](int percent) { Show(label, percent); };
}

void TerminalProgress::Show(const std::string& label, int percent) {
  percent = std::clamp(percent, 0, 100);
  // Codecs report for every few rows: only a new figure reaches the terminal.
  if (label == lastLabel_ && percent == lastPercent_) return;
  lastLabel_ = label;
  lastPercent_ = percent;
  std::fprintf(to_, "\r\033[K%s %3d%%", label.c_str(), percent);
  std::fflush(to_);
  shown_ = true;
}

}  // namespace glamora::cli
