#include "testing/recording_message_box.h"

namespace vtest {

RecordingMessageBox::RecordingMessageBox() : previous_(platform::GetMessageService()) {
  platform::SetMessageService(this);
}

RecordingMessageBox::~RecordingMessageBox() { platform::SetMessageService(previous_); }

void RecordingMessageBox::Script(std::initializer_list<int> answers) {
  std::lock_guard lock(mutex_);
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

int RecordingMessageBox::Show(platform::WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned flags) {
  std::lock_guard lock(mutex_);
  shown_.push_back({owner, text, caption, flags});
  if (answers_.empty()) return platform::DefaultAnswer(flags);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<ShownMessage> RecordingMessageBox::Shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

std::size_t RecordingMessageBox::Count() const {
  std::lock_guard lock(mutex_);
  return shown_.size();
}

void RecordingMessageBox::Clear() {
  std::lock_guard lock(mutex_);
  shown_.clear();
  answers_.clear();
}

}  // namespace vtest
