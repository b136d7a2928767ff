#pragma once

// Makes every write past a given file size fail (EFBIG) for its lifetime, so that tests
// can drive a writer into a failure half way through a file.

#include <signal.h>
#include <sys/resource.h>

#include <cstddef>

namespace vtest {

class FileSizeLimit {
 public:
  // The limit's signal, which ends the process by default, is ignored for the lifetime too;
  // a test of a whole program leaves it as the program has set it (ignoreSignal false).
  explicit FileSizeLimit(std::size_t bytes, bool ignoreSignal = true) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedHandler_ = signal(SIGXFSZ, SIG_IGN);
    if (!ignoreSignal) signal(SIGXFSZ, savedHandler_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, savedHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t savedHandler_ = SIG_DFL;
};

}  // namespace vtest
