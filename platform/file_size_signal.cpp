#include "platform/file_size_signal.h"

#include <csignal>

namespace platform {

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace platform
