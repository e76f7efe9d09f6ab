#pragma once
// Answers the program's message boxes from a script and keeps what was shown.
#include <deque>
#include <string>
#include <vector>

#include "desktop/Dialogs.h"

namespace glamora::test {

class MessageScript {
 public:
  explicit MessageScript(std::deque<TModalResult> answers = {}) : answers_(std::move(answers)) {}

  // Every box shown so far, in order.
  const std::vector<MessageRequest>& Shown() const { return shown_; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& request : shown_) texts.push_back(request.Text.toStdString());
    return texts;
  }

 private:
  std::vector<MessageRequest> shown_;
  std::deque<TModalResult> answers_;
  // Unscripted boxes are closed with OK.
  ScopedMessageHook hook_{[this](const MessageRequest& request) {
    shown_.push_back(request);
    if (answers_.empty()) return mrOk;
    const TModalResult answer = answers_.front();
    answers_.pop_front();
    return answer;
  }};
};

}  // namespace glamora::test
