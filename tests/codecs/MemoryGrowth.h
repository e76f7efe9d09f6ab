#pragma once
// How far a piece of work raises the process's peak resident memory: the
// peak is reset through /proc/self/clear_refs before the work and read after
// it. Tests use it to show that input declaring a huge picture is refused
// without touching memory of the size it declares.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

namespace glamora::test {

namespace memory_growth {

// A "Vm...:" field of /proc/self/status in KiB, -1 when it cannot be read.
inline int64_t StatusField(const char* name) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(name, 0) == 0) return std::stoll(line.substr(std::strlen(name)));
  }
  return -1;
}

}  // namespace memory_growth

// The rise of the peak resident memory while `work` runs, in KiB; -1 when
// the peak cannot be reset or read.
template <class Work>
int64_t PeakMemoryGrowthKiB(Work&& work) {
  {
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5";
    if (!reset) return -1;
  }
  const int64_t before = memory_growth::StatusField("VmRSS:");
  work();
  const int64_t peak = memory_growth::StatusField("VmHWM:");
  return before < 0 || peak < 0 ? -1 : peak - before;
}

}  // namespace glamora::test
