#pragma once

// A layout window that shows nothing and answers every dialog with Cancel: the tests that
// drive the view's rules and commands without a screen start from it.

#include <optional>

#include "hooplayout/view_host.h"

namespace hltest {

struct QuietViewHost : hooplayout::VantleViewHost {
  hooplayout::PixelPoint ScrollPosition() override { return {}; }
  hooplayout::PixelPoint ClientSize() override { return {300, 300}; }
  hooplayout::PixelPoint CursorPosition() override { return {}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(hooplayout::PixelPoint) override {}
  void Invalidate(const hooplayout::PixelRect&) override {}
  void RedrawAll() override {}
  void DrawPicture(const hooplayout::BackgroundPicture&, int, int) override {}
  std::optional<hooplayout::PrinterAreaMm> DefaultPrinterArea(bool) override { return {}; }
  void SetApplicationPageSize(hooplayout::PageSize) override {}
  std::optional<int> RunCustomZoomDialog(int) override { return {}; }
  bool RunBackgroundDialog(hooplayout::BackgroundSettings&) override { return false; }
  bool TransferBusy() override { return false; }
};

}  // namespace hltest
