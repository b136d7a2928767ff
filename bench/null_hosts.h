#pragma once

// Hosts of the layout documents and views, and of Pictorel's picture view, that answer nothing and ask the user nothing, for
// the benchmarks and the fuzz harnesses.

#include <optional>
#include <string>
#include <vector>

#include "layoutcore/document_host.h"
#include "digitizer/picture_view_host.h"
#include "editor/view_host.h"
#include "hooplayout/view_host.h"

namespace bench {

struct NullDocumentHost : editor::DocumentHost {
  std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return {}; }
  std::string ReadSetting(const std::string&, const std::string&) override { return {}; }
  void WriteSetting(const std::string&, const std::string&, const std::string&) override {}
  void AddToRecentFiles(const std::string&) override {}
  std::string ProgramFolder() override { return "/"; }
  void PostLayoutLoadFailed() override {}
};

struct NullBroderaViewHost : editor::ViewHost {
  editor::PixelPoint ScrollPosition() override { return {}; }
  editor::PixelPoint ClientSize() override { return {800, 600}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(editor::PixelPoint) override {}
  void Invalidate(const editor::PixelRect&) override {}
  void RedrawAll(bool) override {}
  void SetWaitCursor(bool) override {}
  void SetZoomCursor(bool) override {}
  editor::PageSize MeasurePage() override { return {}; }
  std::optional<std::string> RunImportDialog(const editor::ImportRequest&, design::StitchRecord&) override { return {}; }
  std::optional<editor::RotateFlipChoice> RunRotateFlipDialog(const editor::RotateFlipRequest&) override { return {}; }
  bool RunSheetCountDialog(int32_t&, int32_t&) override { return false; }
  std::optional<int> RunCustomZoomDialog(int) override { return {}; }
  std::optional<uint32_t> RunColourDialog(uint32_t) override { return {}; }
  std::optional<editor::MonogramResult> RunMonogramDialog(const editor::MonogramRequest&,
                                                          design::StitchRecord&) override {
    return {};
  }
  bool TransferBusy() override { return false; }
};

struct NullVantleViewHost : hooplayout::VantleViewHost {
  // The window's client area in pixels.
  hooplayout::PixelPoint clientSize{800, 600};

  hooplayout::PixelPoint ScrollPosition() override { return {}; }
  hooplayout::PixelPoint ClientSize() override { return clientSize; }
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

// Pictorel's picture view host: the clipboard holds what a harness puts in it.
struct NullPictureViewHost : digitizer::PictureViewHost {
  std::optional<std::vector<uint8_t>> clipboardDib;
  std::optional<digitizer::ClipboardMetafileData> clipboardMetafile;

  digitizer::ViewPixel ScrollPosition() override { return {}; }
  digitizer::ViewPixel ClientSize() override { return {600, 600}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(digitizer::ViewPixel) override {}
  void Repaint() override {}
  void RepaintRect(int, int, int, int) override {}
  void SetWaitCursor(bool) override {}
  void CaptureMouse(bool) override {}
  std::optional<digitizer::StitchSetting> RunStitchDialog(digitizer::StitchDialogKind,
                                                          const digitizer::StitchSetting&) override {
    return std::nullopt;
  }
  std::optional<digitizer::TracingOptions> RunTracingOptions(const digitizer::TracingOptions&) override {
    return std::nullopt;
  }
  int RunAssignToLines() override { return 2; }
  bool RunSatinDialog(std::span<const uint8_t>, int, int, digitizer::SatinSettings&, int&) override { return false; }
  std::optional<digitizer::TracingOptions> RunPreviewOutline(const digitizer::PixelImage&, digitizer::PixelImage&,
                                                             const digitizer::TracingOptions&) override {
    return std::nullopt;
  }
  digitizer::AutoRegisterResult RunAutoRegister(digitizer::AutoRegisterRun&, digitizer::PixelImage&,
                                                digitizer::PixelImage&, digitizer::AutoRegisterDesign&,
                                                const digitizer::AutoRegisterSettings&) override {
    return digitizer::AutoRegisterResult::kCancelled;
  }
  bool RunMakingStitch(digitizer::MakeStitchRun&, digitizer::CStitchDesign&) override { return false; }
  std::optional<std::vector<uint8_t>> ClipboardDib() override { return clipboardDib; }
  std::optional<digitizer::ClipboardMetafileData> ClipboardMetafile() override { return clipboardMetafile; }
  bool ClipboardHasPicture() override { return clipboardDib.has_value() || clipboardMetafile.has_value(); }
  void SetClipboardDib(std::span<const uint8_t>) override {}
  bool AskSaveModified() override { return true; }
  void SetModified(bool) override {}
  void UpdateAllViews() override {}
  void UpdateStatusPanes(const digitizer::StatusPaneUpdate&) override {}
  void PostToFrame(int, int, int) override {}
  void Activate() override {}
};

}  // namespace bench
