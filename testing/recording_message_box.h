#pragma once

// A message service for tests: records every box and answers from a script. Installed
// for its lifetime.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace vtest {

struct ShownMessage {
  platform::WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned flags;
};

class RecordingMessageBox : public platform::MessageService {
 public:
  RecordingMessageBox();
  ~RecordingMessageBox() override;

  // Answers the next boxes in order; when the script runs out, the default button.
  void Script(std::initializer_list<int> answers);

  int Show(platform::WindowHandle owner, const std::string& text, const std::string& caption,
           unsigned flags) override;

  std::vector<ShownMessage> Shown() const;
  std::size_t Count() const;
  void Clear();

 private:
  platform::MessageService* previous_;
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<ShownMessage> shown_;
};

}  // namespace vtest
