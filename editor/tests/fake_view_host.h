#pragma once

// A ViewHost for tests: a window of a given size, scripted dialogs, and a record of what
// the view asked to repaint.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/view_host.h"

namespace edtest {

class FakeViewHost : public editor::ViewHost {
 public:
  editor::PixelPoint scroll{0, 0};
  editor::PixelPoint client{800, 600};
  editor::PixelPoint scrollSize{0, 0};
  editor::PageSize page;
  std::vector<editor::PixelRect> invalidated;
  int redraws = 0;
  int waitCursors = 0;
  bool transferBusy = false;

  // The import dialog: fills the record and gives the path, or nothing.
  std::function<std::optional<std::string>(const editor::ImportRequest&, design::StitchRecord&)> import;
  std::optional<editor::RotateFlipChoice> rotateFlip;
  std::optional<std::pair<int32_t, int32_t>> sheets;  // nothing: cancelled
  std::optional<int> customZoom;
  std::optional<uint32_t> colour;
  std::function<std::optional<editor::MonogramResult>(const editor::MonogramRequest&, design::StitchRecord&)> monogram;
  std::vector<editor::RotateFlipRequest> rotateFlipRequests;
  std::vector<editor::ImportRequest> importRequests;

  editor::PixelPoint ScrollPosition() override { return scroll; }
  editor::PixelPoint ClientSize() override { return client; }
  void SetScrollSize(int w, int h) override { scrollSize = {w, h}; }
  void ScrollTo(editor::PixelPoint p) override { scroll = p; }
  void Invalidate(const editor::PixelRect& r) override { invalidated.push_back(r); }
  void RedrawAll(bool) override { ++redraws; }
  void SetWaitCursor(bool on) override { waitCursors += on ? 1 : 0; }
  void SetZoomCursor(bool) override {}
  editor::PageSize MeasurePage() override { return page; }
  std::optional<std::string> RunImportDialog(const editor::ImportRequest& r, design::StitchRecord& rec) override {
    importRequests.push_back(r);
    return import ? import(r, rec) : std::nullopt;
  }
  std::optional<editor::RotateFlipChoice> RunRotateFlipDialog(const editor::RotateFlipRequest& r) override {
    rotateFlipRequests.push_back(r);
    return rotateFlip;
  }
  bool RunSheetCountDialog(int32_t& across, int32_t& down) override {
    if (!sheets) return false;
    across = sheets->first;
    down = sheets->second;
    return true;
  }
  std::optional<int> RunCustomZoomDialog(int) override { return customZoom; }
  std::optional<uint32_t> RunColourDialog(uint32_t) override { return colour; }
  std::optional<editor::MonogramResult> RunMonogramDialog(const editor::MonogramRequest& r,
                                                         design::StitchRecord& rec) override {
    return monogram ? monogram(r, rec) : std::nullopt;
  }
  bool TransferBusy() override { return transferBusy; }
};

}  // namespace edtest
