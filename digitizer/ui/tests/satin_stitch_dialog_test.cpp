#include "digitizer/ui/satin_stitch_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "digitizer/bit_mask.h"
#include "digitizer/ui/tests/round_part.h"
#include "testing/recording_message_box.h"

namespace digitizer_ui {
namespace {

using digitizer::SatinDot;

constexpr int kWidth = 40;
constexpr int kHeight = 40;

// Two blocks: region 1 at (4..9, 4..9), region 2 at (20..29, 20..29).
std::vector<uint8_t> TwoBlocks() {
  const int rowBytes = digitizer::CBitMask::PackedRowBytes(kWidth);
  std::vector<uint8_t> mask(digitizer::CBitMask(kWidth, kHeight).PackedBytes());
  auto box = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) mask[static_cast<std::size_t>(y * rowBytes + x / 8)] |= 0x80 >> (x % 8);
    }
  };
  box(4, 4, 10, 10);
  box(20, 20, 30, 30);
  return mask;
}

void Mouse(QWidget* widget, QEvent::Type type, QPoint at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void Drag(QWidget* widget, QPoint from, QPoint to) {
  Mouse(widget, QEvent::MouseButtonPress, from);
  Mouse(widget, QEvent::MouseMove, to);
  Mouse(widget, QEvent::MouseButtonRelease, to);
}

TEST(SatinStitchDialog, StepsThroughRegionsAndDragsDotsOntoTheOutline) {
  vtest::RecordingMessageBox boxes;
  const std::vector<uint8_t> mask = TwoBlocks();
  digitizer::SatinSettings entries{};
  CSatinStitchDlg dialog(nullptr, mask.data(), mask.size(), kWidth, kHeight, entries);
  EXPECT_EQ(dialog.windowTitle(), "Setting Satin Stitch");
  EXPECT_EQ(dialog.Counter()->text(), "1 /");
  ASSERT_TRUE(dialog.Start());
  EXPECT_EQ(dialog.Counter()->text(), "1/2");
  EXPECT_FALSE(dialog.Button(CSatinStitchDlg::kBeforeId)->isEnabled());
  EXPECT_TRUE(dialog.DensityRadio(digitizer::kDensityMediumId)->isChecked());

  SatinOutlineFrame* frame = dialog.Frame();
  const digitizer::SatinFrameMapping mapping = frame->Mapping();
  const digitizer::MaskPoint onOutline = mapping.ToFrame({3, 6});
  Drag(frame, SatinOutlineFrame::ParkingPlace(SatinDot::kStart), {onOutline.x, onOutline.y});
  EXPECT_TRUE(dialog.Model().CurrentPoints().startAssigned);
  EXPECT_EQ(frame->DotCentre(SatinDot::kStart), QPoint(onOutline.x, onOutline.y));

  // Dropped in empty space: back to its parking place, unassigned.
  const digitizer::MaskPoint away = mapping.ToFrame({30, 5});
  Drag(frame, SatinOutlineFrame::ParkingPlace(SatinDot::kEnd), {away.x, away.y});
  EXPECT_FALSE(dialog.Model().CurrentPoints().endAssigned);
  EXPECT_EQ(frame->DotCentre(SatinDot::kEnd), SatinOutlineFrame::ParkingPlace(SatinDot::kEnd));

  dialog.Button(CSatinStitchDlg::kNextId)->click();
  EXPECT_EQ(dialog.Counter()->text(), "2/2");
  EXPECT_FALSE(dialog.Button(CSatinStitchDlg::kNextId)->isEnabled());
  EXPECT_TRUE(dialog.Button(CSatinStitchDlg::kBeforeId)->isEnabled());
  EXPECT_EQ(frame->DotCentre(SatinDot::kStart), SatinOutlineFrame::ParkingPlace(SatinDot::kStart));
}

TEST(SatinStitchDialog, OkWithAnIncompleteRegionAsksAndNoStaysOpen) {
  vtest::RecordingMessageBox boxes;
  const std::vector<uint8_t> mask = TwoBlocks();
  digitizer::SatinSettings entries{};
  CSatinStitchDlg dialog(nullptr, mask.data(), mask.size(), kWidth, kHeight, entries);
  ASSERT_TRUE(dialog.Start());
  dialog.DensityRadio(digitizer::kDensityCoarseId)->setChecked(true);
  dialog.Model().DropDot(SatinDot::kStart, {3, 6});
  dialog.Model().DropDot(SatinDot::kEnd, {10, 6});
  dialog.Button(CSatinStitchDlg::kNextId)->click();

  boxes.Script({platform::kIdNo});
  dialog.accept();
  EXPECT_EQ(dialog.Counter()->text(), "2/2");
  EXPECT_EQ(boxes.Count(), 1u);

  boxes.Script({platform::kIdYes});
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(entries[0].x2, 10);
  EXPECT_EQ(entries[0].spacing, 1.0);
}

// A round part shows round and whole on every hoop, though the frame is taller than wide and
// smaller than the work area: the outline is as wide as it is tall, and every column across
// it meets it above and below.
TEST(SatinStitchDialog, ARoundPartShowsRoundAndWholeOnEveryHoop) {
  vtest::RecordingMessageBox boxes;
  const int sizes[][2] = {{440, 440}, {200, 200}, {560, 800}};
  for (const auto& [width, height] : sizes) {
    const std::vector<uint8_t> mask = PackedDisc(width, height, width / 2, height / 2, width / 4);
    digitizer::SatinSettings entries{};
    CSatinStitchDlg dialog(nullptr, mask.data(), mask.size(), width, height, entries);
    ASSERT_TRUE(dialog.Start());
    SatinOutlineFrame* frame = dialog.Frame();
    QImage shown(frame->size(), QImage::Format_RGB32);
    frame->render(&shown);
    const QImage drawn = shown.copy(frame->rect().adjusted(40, 0, 0, 0));  // right of the parked dots
    const QRect outline = PaintedBounds(drawn, qRgb(255, 255, 255));
    ASSERT_FALSE(outline.isEmpty()) << width << " x " << height;
    EXPECT_LE(std::abs(outline.width() - outline.height()), 2) << width << " x " << height << ": " << outline.width()
                                                              << " x " << outline.height();
    int broken = 0;
    for (int x = outline.left() + 2; x <= outline.right() - 2; ++x) {
      int above = 0, below = 0;
      for (int y = outline.top(); y <= outline.bottom(); ++y) {
        if (drawn.pixel(x, y) == qRgb(0, 0, 0)) ++(y < outline.center().y() ? above : below);
      }
      broken += above == 0 || below == 0;
    }
    EXPECT_EQ(broken, 0) << width << " x " << height << ": columns that miss the outline";
  }
}

TEST(SatinStitchDialog, AnEmptyPartIsNotShown) {
  vtest::RecordingMessageBox boxes;
  std::vector<uint8_t> mask(digitizer::CBitMask(kWidth, kHeight).PackedBytes());
  digitizer::SatinSettings entries{};
  digitizer::PartRecord part;
  part.mask = mask;
  EXPECT_FALSE(EditSatinSettings(nullptr, part, kWidth, kHeight, entries));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "No parts are selected.");
}

}  // namespace
}  // namespace digitizer_ui
