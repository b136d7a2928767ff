#include "digitizer/ui/auto_register_dialog.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <gtest/gtest.h>

#include <vector>

namespace digitizer_ui {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

class CountingDesign : public digitizer::AutoRegisterDesign {
 public:
  void DeleteAllParts() override { parts.clear(); }
  bool AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t>) override {
    parts.push_back(threadCode * 0x10000 + stitchTypeCode);
    return true;
  }
  int PartCount() const override { return static_cast<int>(parts.size()); }
  int GenerateStitches(int) override { return 10; }
  void StoreOutline(std::span<const uint8_t>, int, int) override { ++outlines; }
  std::vector<int> parts;
  int outlines = 0;
};

class AutoRegisterDialogTest : public ::testing::Test {
 protected:
  AutoRegisterDialogTest() { fill_.FillRect(10, 8, 40, 38, platform::kPaletteBlack); }

  // Lets the worker's queued reports arrive until the dialog has ended.
  static int WaitForResult(QDialog& dialog) {
    QElapsedTimer timer;
    timer.start();
    while (dialog.isVisible() && timer.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return dialog.result();
  }

  digitizer::PixelImage fill_{kWidth, kHeight, platform::kPaletteWhite};
  digitizer::PixelImage line_{kWidth, kHeight, platform::kPaletteWhite};
  CountingDesign design_;
  digitizer::AutoRegisterRun run_{kWidth, kHeight};
};

TEST_F(AutoRegisterDialogTest, StartRunsTheWorkerWhichEndsTheDialogWithOk) {
  std::optional<int> asked;
  CAutoRegisterDlg dialog(nullptr, run_, fill_, line_, design_, digitizer::AutoRegisterSettings{},
                          [&](int sensitivity) -> std::optional<int> {
                            asked = sensitivity;
                            return digitizer::kSensitivityHigh;
                          });
  dialog.show();
  // Preview takes over the sensitivity the preview chose.
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == "Preview") button->click();
  }
  EXPECT_EQ(asked, digitizer::kSensitivityMedium);
  dialog.OutlineBox()->setChecked(true);
  dialog.StartButton()->click();
  EXPECT_FALSE(dialog.StartButton()->isEnabled());
  EXPECT_FALSE(dialog.OutlineBox()->isEnabled());
  EXPECT_EQ(WaitForResult(dialog), QDialog::Accepted);
  EXPECT_EQ(dialog.Settings().outline.sensitivity, digitizer::kSensitivityHigh);
  // The black square and the outline part in thread 1.
  ASSERT_EQ(design_.parts.size(), 2u);
  EXPECT_EQ(design_.parts[1], 1 * 0x10000 + digitizer::kOutlineStraightStitchType);
  EXPECT_EQ(design_.outlines, 1);
  EXPECT_FALSE(dialog.IsRunning());
}

TEST_F(AutoRegisterDialogTest, CancelBeforeStartEndsTheDialogAtOnce) {
  CAutoRegisterDlg dialog(nullptr, run_, fill_, line_, design_, digitizer::AutoRegisterSettings{}, nullptr);
  dialog.show();
  dialog.reject();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(design_.parts.empty());
}

TEST_F(AutoRegisterDialogTest, CancelDuringTheRunOnlyRaisesTheFlagAndTheWorkerEndsTheDialog) {
  CAutoRegisterDlg dialog(nullptr, run_, fill_, line_, design_, digitizer::AutoRegisterSettings{}, nullptr);
  dialog.show();
  dialog.StartButton()->click();
  dialog.reject();
  // The worker may have finished before the flag was seen; either way the worker ends it.
  const int result = WaitForResult(dialog);
  EXPECT_TRUE(result == QDialog::Rejected || result == QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace digitizer_ui
