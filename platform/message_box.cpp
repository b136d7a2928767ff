#include "platform/message_box.h"

#include <filesystem>

#include <atomic>
#include <cstdio>

namespace platform {

MessageService::~MessageService() = default;

namespace {

std::atomic<MessageService*> g_service{nullptr};

}  // namespace

int DefaultAnswer(unsigned flags) {
  const unsigned which = (flags & kMbDefButtonMask) >> 8;  // 0 first, 1 second, 2 third
  static constexpr int kAnswers[][3] = {
      {kIdOk, kIdOk, kIdOk},              // OK
      {kIdOk, kIdCancel, kIdCancel},      // OK, Cancel
      {kIdAbort, kIdRetry, kIdIgnore},    // Abort, Retry, Ignore
      {kIdYes, kIdNo, kIdCancel},         // Yes, No, Cancel
      {kIdYes, kIdNo, kIdNo},             // Yes, No
      {kIdRetry, kIdCancel, kIdCancel},   // Retry, Cancel
  };
  const unsigned buttons = flags & kMbButtonMask;
  if (buttons > 5 || which > 2) return kIdOk;
  return kAnswers[buttons][which];
}

void SetMessageService(MessageService* service) { g_service.store(service); }

MessageService* GetMessageService() { return g_service.load(); }

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               unsigned flags) {
  if (MessageService* service = g_service.load()) {
    return service->Show(owner, text, caption, flags);
  }
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return DefaultAnswer(flags);
}

bool AskReplaceExisting(WindowHandle owner, const std::string& path, const std::string& caption) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return true;
  return MessageBox(owner, path + "\nThis file already exists.\n\nReplace existing file?", caption,
                    kMbYesNo | kMbIconExclamation) == kIdYes;
}

}  // namespace platform
