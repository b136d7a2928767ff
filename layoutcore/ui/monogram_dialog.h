#pragma once

// The monogram dialogs: "Monogram (Standard Hoop)" and "Monogram (Large Hoop)". Twins that
// differ only in their constants; every rule is in editor::MonogramDialogRules, these
// windows show its state and forward input to it.

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "layoutcore/monogram/monogram_dialog_rules.h"

namespace editor_ui {

// The letters edit: lets through only what the current font can write.
class CMonogramEdit : public QLineEdit {
 public:
  CMonogramEdit(QWidget* parent, const editor::MonogramDialogRules& rules);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const editor::MonogramDialogRules& rules_;
};

// The "Stitch View" preview: the glyph bitmap stretched over the widget.
class MonogramPreview : public QWidget {
 public:
  MonogramPreview(QWidget* parent, editor::MonogramDialogRules& rules);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  editor::MonogramPoint ToGlyph(const QPoint& p) const;
  void ShowCursor();

  editor::MonogramDialogRules& rules_;
};

class CMonogramDlg : public QDialog {
 public:
  CMonogramDlg(QWidget* parent, const editor::MonogramDialogInput& input, const std::string& program,
               editor::MonogramDialogKind kind = editor::MonogramDialogKind::kStandardHoop);

  // False when the dialog ended at once (no font file, no record); exec() then rejects.
  bool Initialised() const { return initialised_; }
  int exec() override;
  void accept() override;

  const std::string& Name() const { return rules_.Name(); }
  const editor::MonogramBlock& OutputBlock() const { return rules_.OutputBlock(); }
  editor::MonogramDialogRules& Rules() { return rules_; }

  // The file-save question; tests replace the Qt file dialog.
  void SetSavePathPrompt(editor::MonogramSavePathPrompt prompt) { savePrompt_ = std::move(prompt); }

  QLineEdit* Edit() const { return edit_; }
  QComboBox* Fonts() const { return fonts_; }
  QComboBox* Spacing() const { return spacing_; }
  QRadioButton* LayoutRadio(int type) const { return radios_[type]; }
  QPushButton* RegisterButton() const { return register_; }
  QPushButton* ColourButton() const { return colour_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* DeleteAllButton() const { return deleteAll_; }
  QPushButton* OkButton() const { return ok_; }
  MonogramPreview* Preview() const { return preview_; }

  // What another program's lettering dialog shows differently.
  struct Look {
    const char* colourCaption;  // the colour button
    const char* saveFilter;     // the file-save dialog's filter, in Qt's form
    const char* saveExtension;
  };

 protected:
  // A dialog over rules of another program; init starts them with the caller's input.
  CMonogramDlg(QWidget* parent, std::unique_ptr<editor::MonogramDialogRules> rules,
               const std::function<bool(editor::MonogramDialogRules&)>& init, const Look& look);

 private:
  void ShowState();

  std::unique_ptr<editor::MonogramDialogRules> rulesOwner_;
  editor::MonogramDialogRules& rules_;
  bool initialised_ = false;
  editor::MonogramSavePathPrompt savePrompt_;
  CMonogramEdit* edit_ = nullptr;
  QComboBox* fonts_ = nullptr;
  QComboBox* spacing_ = nullptr;
  QRadioButton* radios_[3] = {};
  QPushButton* register_ = nullptr;
  QPushButton* colour_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* deleteAll_ = nullptr;
  QPushButton* ok_ = nullptr;
  MonogramPreview* preview_ = nullptr;
};

// The large-hoop twin.
class CMonogramLargeDlg : public CMonogramDlg {
 public:
  CMonogramLargeDlg(QWidget* parent, const editor::MonogramDialogInput& input, const std::string& program)
      : CMonogramDlg(parent, input, program, editor::MonogramDialogKind::kLargeHoop) {}
};

}  // namespace editor_ui
