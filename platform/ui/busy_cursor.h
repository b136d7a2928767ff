#pragma once

// The wait cursor over the whole program while a long piece of work runs on the
// user-interface thread (pages drawn for the printer, for instance).

#include <QApplication>

namespace platform_ui {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace platform_ui
