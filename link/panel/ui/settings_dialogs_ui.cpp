// The Communication Settings and Confirm Machine's Version dialogs: widgets over the rules
// in link/panel/settings_dialogs.h.

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "link/panel/link_settings.h"
#include "link/panel/panel_dialogs.h"
#include "link/panel/settings_dialogs.h"
#include "link/panel/transfer_frame.h"
#include "link/panel/ui/posting_dialog.h"

namespace linkpanel_ui {

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

class CommSettingsDialog : public LinkDialog {
 public:
  explicit CommSettingsDialog(QWidget* owner) : LinkDialog(owner) {
    setObjectName("commSettings");
    setWindowTitle(linkpanel::kCommSettingsCaption);
    const linkpanel::CommSettingsView view = linkpanel::OpenCommSettings();
    auto* layout = new QVBoxLayout(this);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel("COM", this));
    port_ = new QComboBox(this);
    port_->setObjectName("port");
    for (const std::string& name : view.ports) port_->addItem(QString::fromStdString(name));
    port_->setCurrentIndex(view.selectedPort);
    portRow->addWidget(port_);
    layout->addLayout(portRow);
    auto* speed = new QGroupBox("Communication speed", this);
    auto* speedLayout = new QVBoxLayout(speed);
    rates_ = new QButtonGroup(this);
    for (int rate = 1; rate <= linkpanel::kRateCount; ++rate) {
      auto* button = new QRadioButton(QString::fromStdString(linkpanel::RateLabel(rate)), speed);
      button->setObjectName(QString("rate%1").arg(rate));
      rates_->addButton(button, rate);
      speedLayout->addWidget(button);
    }
    if (QAbstractButton* checked = rates_->button(view.checkedRate)) checked->setChecked(true);
    layout->addWidget(speed);
    layout->addWidget(OkCancel(this));
  }

  void accept() override {
    const int rate = rates_->checkedId();
    if (!linkpanel::AcceptCommSettings(this, port_->currentIndex(), rate < 0 ? 0 : rate)) return;
    done(linkpanel::kEndDone);
  }
  void reject() override { done(linkpanel::kEndCancelled); }

 private:
  QComboBox* port_;
  QButtonGroup* rates_;
};

class VersionDialog : public LinkDialog {
 public:
  VersionDialog(QWidget* owner, bool force) : LinkDialog(owner), rules_(force) {
    setObjectName("versionDialog");
    setWindowTitle(QString::fromStdString(rules_.Caption()));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Select the version of  Halvora 7000", this);
    auto* groupLayout = new QVBoxLayout(group);
    old_ = new QRadioButton("Version 2.1 or earlier", group);
    old_->setObjectName("version1");
    new_ = new QRadioButton("Version 2.2", group);
    new_->setObjectName("version2");
    groupLayout->addWidget(old_);
    groupLayout->addWidget(new_);
    layout->addWidget(group);
    note_ = new QLabel(this);
    note_->setObjectName("note");
    layout->addWidget(note_);
    layout->addWidget(OkCancel(this));
    old_->setChecked(rules_.Checked() == linkpanel::kVersionOld);
    new_->setChecked(rules_.Checked() == linkpanel::kVersionNew);
    ShowNote();
    connect(old_, &QRadioButton::clicked, this, [this] { Choose(linkpanel::kVersionOld); });
    connect(new_, &QRadioButton::clicked, this, [this] { Choose(linkpanel::kVersionNew); });
  }

  void accept() override { done(rules_.Accept()); }
  void reject() override { done(linkpanel::kEndCancelled); }

 private:
  void Choose(int version) {
    rules_.Choose(version);
    ShowNote();
  }
  void ShowNote() { note_->setText(QString::fromStdString(rules_.Note())); }

  linkpanel::VersionDialogRules rules_;
  QRadioButton* old_;
  QRadioButton* new_;
  QLabel* note_;
};

}  // namespace

}  // namespace linkpanel_ui

namespace linkpanel {

int RunVersionDialog(platform::WindowHandle owner, bool force) {
  linkpanel_ui::VersionDialog dialog(linkpanel_ui::OwnerWidget(owner), force);
  return dialog.exec();
}

int RunCommSettingsDialog(platform::WindowHandle owner) {
  linkpanel_ui::CommSettingsDialog dialog(linkpanel_ui::OwnerWidget(owner));
  return dialog.exec();
}

}  // namespace linkpanel
