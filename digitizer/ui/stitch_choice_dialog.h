#pragma once

// The Stitch, Thread Color, Fill and Line dialogs as Qt windows over StitchChoiceModel: the
// window shows the model's state and forwards clicks, double-clicks, typing and spin moves to
// it by control id. QtPartDialogs opens the Fill and Line dialogs for the Edit Parts dialog.

#include <QDialog>
#include <functional>
#include <map>

#include "digitizer/edit_parts_model.h"
#include "digitizer/stitch_choice_model.h"

class QLabel;
class QTabBar;

namespace digitizer_ui {

class StitchChoiceDialog : public QDialog {
 public:
  StitchChoiceDialog(QWidget* parent, digitizer::StitchDialogKind kind, const digitizer::StitchSetting& start,
                     digitizer::PartRecord* part = nullptr, digitizer::SatinSettingsEditor* satinEditor = nullptr);

  digitizer::StitchChoiceModel& Model() { return model_; }
  // The control with the id (radios, checks, edits, spins, colour buttons); null when the
  // dialog has none.
  QWidget* Control(int id) const;
  QTabBar* Tabs() const { return tabs_; }
  QLabel* FillNameLabel() const { return fillName_; }
  QLabel* ColourNameLabel() const { return colourName_; }
  QLabel* PreviewIcon() const { return preview_; }

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddControl(int id, QWidget* widget) { controls_[id] = widget; }
  void Refresh();

  digitizer::StitchChoiceModel model_;
  std::map<int, QWidget*> controls_;
  QTabBar* tabs_ = nullptr;
  QLabel* fillName_ = nullptr;
  QLabel* colourName_ = nullptr;
  QLabel* swatch_ = nullptr;
  QLabel* preview_ = nullptr;
};

class CStitchDlg : public StitchChoiceDialog {
 public:
  CStitchDlg(QWidget* parent, const digitizer::StitchSetting& start)
      : StitchChoiceDialog(parent, digitizer::StitchDialogKind::kStitch, start) {}
};

class CThreadColorDlg : public StitchChoiceDialog {
 public:
  CThreadColorDlg(QWidget* parent, const digitizer::StitchSetting& start)
      : StitchChoiceDialog(parent, digitizer::StitchDialogKind::kThreadColor, start) {}
};

class CFillDlg : public StitchChoiceDialog {
 public:
  CFillDlg(QWidget* parent, const digitizer::StitchSetting& start, digitizer::PartRecord* part = nullptr,
           digitizer::SatinSettingsEditor* satinEditor = nullptr)
      : StitchChoiceDialog(parent, digitizer::StitchDialogKind::kFill, start, part, satinEditor) {}
};

class CLineStitchDlg : public StitchChoiceDialog {
 public:
  CLineStitchDlg(QWidget* parent, const digitizer::StitchSetting& start)
      : StitchChoiceDialog(parent, digitizer::StitchDialogKind::kLine, start) {}
};

// The parts editor's dialogs: Fill and Line as modal windows; the All Colors view and the
// satin settings come from their owners (either may be absent).
class QtPartDialogs : public digitizer::PartDialogs {
 public:
  QtPartDialogs(QWidget* parent, digitizer::SatinSettingsEditor* satinEditor,
                std::function<void(digitizer::CPartList&)> showAllColors);

  std::optional<digitizer::LineStitchChoice> EditLineStitch(const digitizer::LineStitchChoice& start) override;
  std::optional<digitizer::FillStitchChoice> EditFillStitch(digitizer::PartRecord& part,
                                                            const digitizer::FillStitchChoice& start) override;
  void ShowAllColors(digitizer::CPartList& parts) override;

 private:
  QWidget* parent_;
  digitizer::SatinSettingsEditor* satinEditor_;
  std::function<void(digitizer::CPartList&)> showAllColors_;
};

}  // namespace digitizer_ui
