#pragma once

// Holds the view's wait cursor for the length of a command's work.

#include "editor/view_host.h"

namespace editor {

class WaitCursor {
 public:
  explicit WaitCursor(ViewHost& host) : host_(host) { host_.SetWaitCursor(true); }
  ~WaitCursor() { host_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  ViewHost& host_;
};

}  // namespace editor
