#include "digitizer/ui/making_stitch_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

#include "design/hoop.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"

namespace digitizer_ui {
namespace {

class MakingStitchDialogTest : public ::testing::Test {
 protected:
  MakingStitchDialogTest() {
    design_.SetHoop(design::kStandardHoop);
    const int rowBytes = digitizer::CBitMask::PackedRowBytes(design_.WorkWidth());
    for (int k = 0; k < 3; ++k) {
      uint8_t* packed = design_.AddPart(static_cast<int16_t>(3 + k), digitizer::MakeStitchCode(digitizer::kHorizontalWeave, 0));
      for (int row = 100; row < 200; ++row) {
        for (int column = 40 + 120 * k; column < 140 + 120 * k; ++column) {
          packed[row * rowBytes + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
        }
      }
    }
  }

  // Lets the worker's queued reports arrive until the dialog has ended.
  static int WaitForResult(QDialog& dialog) {
    QElapsedTimer timer;
    timer.start();
    while (dialog.isVisible() && timer.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return dialog.result();
  }

  digitizer::CStitchDesign design_;
  digitizer::MakeStitchRun run_;
};

TEST_F(MakingStitchDialogTest, ShowingStartsTheRunAndTheWorkerEndsTheDialogWithOne) {
  CMakingStitchDlg dialog(nullptr, run_, design_, digitizer::MakeStitchOptions{});
  EXPECT_EQ(dialog.windowTitle(), "Making Stitch");
  dialog.show();
  EXPECT_TRUE(dialog.IsRunning());
  EXPECT_EQ(WaitForResult(dialog), CMakingStitchDlg::kRan);
  EXPECT_FALSE(dialog.IsRunning());
  EXPECT_GT(dialog.PairCount(), 0);
  EXPECT_EQ(design_.Record()->PairCount(), dialog.PairCount());
}

TEST_F(MakingStitchDialogTest, CancelWhileRunningOnlyAsksTheWorkerWhichEndsWithTwo) {
  CMakingStitchDlg dialog(nullptr, run_, design_, digitizer::MakeStitchOptions{});
  dialog.show();
  dialog.reject();
  EXPECT_TRUE(dialog.isVisible()) << "the worker, not Cancel, ends the dialog";
  EXPECT_EQ(WaitForResult(dialog), CMakingStitchDlg::kCancelled);
  EXPECT_EQ(design_.Record()->PairCount(), 0);
}

}  // namespace
}  // namespace digitizer_ui
