// The monogram dialogs' wiring: the controls show the rules' state, typing is filtered by
// the font, Register builds, and OK hands back the lettering. The rules are tested on
// editor::MonogramDialogRules.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "layoutcore/ui/monogram_dialog.h"
#include "platform/profile.h"
#include "testing/monogram_font_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using editor_ui::CMonogramDlg;

void Type(QWidget* widget, const std::string& text) {
  for (char c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(widget, &press);
  }
}

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
using editor_ui::CMonogramLargeDlg;

class MonogramDialogUi : public ::testing::Test {
 protected:
  MonogramDialogUi() {
    platform::SetProfileRoot(profile.Path());
    const auto hook = vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes();
    vtest::MonogramFontBuilder().Glyph('A', hook).Glyph('B', hook).WriteTo(fonts / "Block.mnf");
    input.programFolder = fonts.Path();
    input.record = &record;
  }
  ~MonogramDialogUi() override { platform::SetProfileRoot({}); }

  vtest::TempDir profile;
  vtest::TempDir fonts;
  vtest::RecordingMessageBox box;
  design::StitchRecord record;
  editor::MonogramDialogInput input;
};

TEST_F(MonogramDialogUi, TypingRegisteringAndOk) {
  CMonogramDlg dialog(nullptr, input, "Brodera");
  ASSERT_TRUE(dialog.Initialised());
  EXPECT_EQ(dialog.windowTitle(), "Monogram (Standard Hoop)");
  EXPECT_EQ(dialog.Fonts()->currentText(), "Block");
  EXPECT_EQ(dialog.Spacing()->currentText(), "Normal");
  EXPECT_TRUE(dialog.LayoutRadio(0)->isChecked());
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  EXPECT_EQ(dialog.Preview()->width(), 442);

  Type(dialog.Edit(), "AxB");  // the font has no x
  EXPECT_EQ(dialog.Edit()->text(), "AB");
  dialog.RegisterButton()->click();
  EXPECT_EQ(dialog.Rules().Engine().Glyphs().size(), 2u);
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  EXPECT_TRUE(dialog.DeleteButton()->isEnabled());

  dialog.LayoutRadio(2)->click();
  EXPECT_FALSE(dialog.Spacing()->isEnabled());
  dialog.RegisterButton()->click();
  EXPECT_FALSE(dialog.DeleteButton()->isEnabled());

  box.Script({platform::kIdNo});
  dialog.open();
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Name(), "Mono0001");
  EXPECT_EQ(dialog.OutputBlock().Text(), "AB");
  EXPECT_EQ(dialog.OutputBlock().Mode(), 2);
  EXPECT_GT(record.PairCount(), 0);
}

TEST_F(MonogramDialogUi, NoFontFileEndsTheDialogAtOnce) {
  vtest::TempDir empty;
  input.programFolder = empty.Path();
  CMonogramLargeDlg dialog(nullptr, input, "Brodera");
  EXPECT_EQ(dialog.windowTitle(), "Monogram (Large Hoop)");
  EXPECT_FALSE(dialog.Initialised());
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(box.Shown().back().text, "Monogram data file does not exist.");
}

TEST_F(MonogramDialogUi, DraggingALetterInThePreview) {
  CMonogramLargeDlg dialog(nullptr, input, "Brodera");
  Type(dialog.Edit(), "A");
  dialog.RegisterButton()->click();
  // A at (10, 80) in glyph pixels; the preview shows them at the scale the screen allows.
  const double sx = dialog.Preview()->width() / 281.0, sy = dialog.Preview()->height() / 401.0;
  auto at = [&](int x, int y) { return QPoint(static_cast<int>(x * sx + 0.5), static_cast<int>(y * sy + 0.5)); };
  Mouse(dialog.Preview(), QEvent::MouseButtonPress, at(10, 79), Qt::LeftButton);
  Mouse(dialog.Preview(), QEvent::MouseMove, at(60, 129), Qt::LeftButton);
  Mouse(dialog.Preview(), QEvent::MouseButtonRelease, at(60, 129), Qt::NoButton);
  EXPECT_EQ(dialog.Rules().Engine().Glyphs()[0].origin, (editor::MonogramPoint{60, 130}));
}

}  // namespace
