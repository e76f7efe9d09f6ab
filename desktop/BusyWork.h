#pragma once
// Long work off the user-interface thread. The hourglass shows while it
// runs; the windows keep painting, and mouse and key input wait until the
// work is over, as they would for work done on the thread itself, so no
// command can start in the middle of it.
#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <future>
#include <utility>

#include "imaging/CursorTable.h"

namespace glamora {

// Runs work() on a worker thread and returns its result; an exception it
// throws comes out here. What work() reads must stay unchanged until it is
// done, which held-back input ensures for the windows' own data.
template <class Work>
auto RunBusy(Work&& work) -> decltype(work()) {
  const BusyCursor busy;
  auto result = std::async(std::launch::async, std::forward<Work>(work));
  while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  return result.get();
}

}  // namespace glamora
