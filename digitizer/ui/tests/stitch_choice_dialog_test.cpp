#include "digitizer/ui/stitch_choice_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "digitizer/part_names.h"

namespace digitizer_ui {
namespace {

namespace id = digitizer::stitch_dialog_id;

void DoubleClick(QWidget* widget) {
  const QPointF at(2, 2);
  QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

template <typename Widget>
Widget* Get(const StitchChoiceDialog& dialog, int controlId) {
  auto* widget = qobject_cast<Widget*>(dialog.Control(controlId));
  EXPECT_NE(widget, nullptr) << controlId;
  return widget;
}

TEST(StitchChoiceDialog, FillDialogPagesColoursAndClampsTheAngle) {
  digitizer::StitchSetting start;
  CFillDlg dialog(nullptr, start);
  EXPECT_EQ(dialog.windowTitle(), "F i l l");
  EXPECT_EQ(dialog.Control(id::kZzLine), nullptr);
  EXPECT_EQ(dialog.Tabs()->tabText(1), "Page 2");

  dialog.Tabs()->setCurrentIndex(1);
  Get<QPushButton>(dialog, id::kFirstColour)->click();
  EXPECT_EQ(dialog.Model().Setting().colourIndex, 39);
  EXPECT_EQ(dialog.ColourNameLabel()->text().toStdString(), dialog.Model().ColourName());

  EXPECT_EQ(Get<QSpinBox>(dialog, id::kAngleSpin)->value(), 45);
  Get<QCheckBox>(dialog, id::kAngleCheck)->click();
  EXPECT_TRUE(Get<QRadioButton>(dialog, id::kDweave)->isChecked());
  auto* edit = Get<QLineEdit>(dialog, id::kAngleEdit);
  EXPECT_TRUE(edit->isEnabled());
  edit->setText("200");
  emit edit->textEdited("200");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Model().Setting().angle, 180);
}

TEST(StitchChoiceDialog, LineDialogSpinWritesTheEditAndDoubleClickCloses) {
  digitizer::StitchSetting start;
  start.fillType = digitizer::kZigzagStitch;
  start.customWidth = true;
  CLineStitchDlg dialog(nullptr, start);
  EXPECT_EQ(dialog.windowTitle(), "L i n e");
  Get<QSpinBox>(dialog, id::kWidthSpin)->setValue(33);
  EXPECT_EQ(Get<QLineEdit>(dialog, id::kWidthEdit)->text(), "3.3");
  EXPECT_EQ(dialog.FillNameLabel()->text(), "Zigzag stitch (3.3 mm)");
  DoubleClick(Get<QRadioButton>(dialog, id::kZsLine));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Model().Setting().fillType, digitizer::kStraightStitch);
}

TEST(StitchChoiceDialog, ThreadColorShowsAllColoursAndStitchShowsNone) {
  CThreadColorDlg thread(nullptr, digitizer::StitchSetting{});
  EXPECT_EQ(thread.windowTitle(), "Thread Color");
  EXPECT_EQ(thread.Tabs(), nullptr);
  ASSERT_NE(thread.Control(id::kFirstColour + 77), nullptr);
  DoubleClick(thread.Control(id::kFirstColour + 60));
  EXPECT_EQ(thread.result(), QDialog::Accepted);
  EXPECT_EQ(thread.Model().Setting().colourIndex, 60);

  CStitchDlg stitch(nullptr, digitizer::StitchSetting{});
  EXPECT_EQ(stitch.windowTitle(), "Stitch");
  EXPECT_EQ(stitch.Control(id::kFirstColour), nullptr);
  EXPECT_NE(stitch.Control(id::kZsLine), nullptr);
  EXPECT_NE(stitch.Control(id::kTweave), nullptr);
}

TEST(StitchChoiceDialog, PartsEditorOpensTheFillDialogOnThePart) {
  QtPartDialogs dialogs(nullptr, nullptr, nullptr);
  digitizer::PartRecord part;
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<StitchChoiceDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    qobject_cast<QRadioButton*>(dialog->Control(id::kHweave + digitizer::kCrossStitch))->click();
    dialog->accept();
  });
  const auto chosen = dialogs.EditFillStitch(part, digitizer::FillStitchChoice{5, digitizer::kDiagonalWeave, 30});
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->fillType, digitizer::kCrossStitch);
  EXPECT_EQ(chosen->colourIndex, 5);

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_FALSE(dialogs.EditLineStitch(digitizer::LineStitchChoice{0, digitizer::kZigzagStitch, 1.4, 2.0}));
}

}  // namespace
}  // namespace digitizer_ui
