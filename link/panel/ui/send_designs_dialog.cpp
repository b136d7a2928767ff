// The Send Designs dialog, the Check Files dialog that counts the designs on the machine
// before a send, and the Qnf Name dialog of a design sent from memory.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "link/link_types.h"
#include "link/panel/linkpanel.h"
#include "link/panel/panel_dialogs.h"
#include "link/panel/send_designs.h"
#include "link/panel/ui/posting_dialog.h"
#include "link/panel/ui/seam_animation.h"
#include "platform/file_io.h"
#include "platform/work_folder.h"

namespace linkpanel_ui {

namespace {

constexpr const char* kSendingCaption = "Sending";

// Dialog 116: fetches the directory of one destination on its own worker and ends with 1
// (fetched) or 2 (failed, already shown).
class CheckFilesDialog : public PostingDialog {
 public:
  CheckFilesDialog(QWidget* owner, int destination, VelinorAbortEvent* abortEvent,
                   std::filesystem::path directoryFile)
      : PostingDialog(owner),
        destination_(destination),
        abort_(abortEvent),
        file_(std::move(directoryFile)) {
    setObjectName("checkFiles");
    setWindowTitle("Check Files");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Receiving design information from Halvora.", this));
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar);
  }
  ~CheckFilesDialog() override { worker_.Join(); }

  void reject() override {
    // The worker is told to stop and ends the dialog itself.
    if (abort_) AbortEventSet(abort_);
    if (!worker_.Started()) done(linkpanel::kEndCancelled);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    PostingDialog::showEvent(event);
    if (!posted_) {
      posted_ = true;
      platform::PostToUi(Handle(), linkpanel::kCommandMessage, linkpanel::kCmdStartWorker, 0);
    }
  }

  void OnPosted(unsigned message, uintptr_t wparam, intptr_t) override {
    HandleWorkerCommand(message, wparam, [this] { StartWorker(); }, [this] { worker_.Join(); });
  }

 private:
  void StartWorker() {
    const platform::WindowHandle self = Handle();
    const linkpanel::TransferJob job = linkpanel::CountDesignsJob(destination_, file_);
    VelinorAbortEvent* abortEvent = abort_;
    const bool running = worker_.Start([self, abortEvent, job] {
      const int result = linkpanel::RunTransferJob(self, abortEvent, job);
      platform::PostToUi(self, linkpanel::kCommandMessage,
                         result == 0 ? linkpanel::kCmdWorkerSucceeded : linkpanel::kCmdWorkerFailed, 0);
    });
    if (!running) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateThread, kSendingCaption,
                           platform::kMbOk | platform::kMbIconError);
      done(linkpanel::kEndCancelled);
    }
  }

  int destination_;
  VelinorAbortEvent* abort_;
  std::filesystem::path file_;
  bool posted_ = false;
  linkpanel::TransferWorker worker_;
};

int CountMachineDesigns(QWidget* owner, int destination, VelinorAbortEvent* abortEvent) {
  const std::filesystem::path file = platform::ProgramWorkFile(linkpanel::kDirectoryFileName);
  // A directory left from an earlier count must not stand in for this one.
  (void)platform::RemoveFile(file);
  {
    CheckFilesDialog dialog(owner, destination, abortEvent, file);
    dialog.exec();
  }
  return linkpanel::TakeDesignCount(file);
}

// Dialog 107: the name a design from memory is stored under.
class QnfNameDialog : public LinkDialog {
 public:
  QnfNameDialog(QWidget* owner, const std::string& name) : LinkDialog(owner) {
    setObjectName("qnfName");
    setWindowTitle("Qnf Name");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter the file name to save in Halvora.", this));
    edit_ = new QLineEdit(QString::fromStdString(name), this);
    edit_->setObjectName("name");
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
  }

  void accept() override {
    std::optional<std::string> name = linkpanel::AcceptDirectName(this, edit_->text().toStdString());
    if (!name) return;  // refused and shown; the dialog stays
    chosen_ = std::move(*name);
    QDialog::accept();
  }
  const std::string& Chosen() const { return chosen_; }

 private:
  QLineEdit* edit_;
  std::string chosen_;
};

// Dialog 102.
class SendDesignsDialog : public PostingDialog {
 public:
  SendDesignsDialog(QWidget* owner, const linkpanel::SendRequest& request)
      : PostingDialog(owner), rules_(request, Handle()) {
    setObjectName("sendDesigns");
    setWindowTitle(QString::fromStdString(rules_.Open()));
    auto* layout = new QVBoxLayout(this);
    destinationBox_ = new QGroupBox("Send to ", this);
    auto* destinationLayout = new QVBoxLayout(destinationBox_);
    builtIn_ = new QRadioButton("Built-in", destinationBox_);
    builtIn_->setObjectName("builtIn");
    ataCard_ = new QRadioButton("ATA PC Card", destinationBox_);
    ataCard_->setObjectName("ataCard");
    destinationLayout->addWidget(builtIn_);
    destinationLayout->addWidget(ataCard_);
    layout->addWidget(destinationBox_);
    openSave_ = new QCheckBox("Select Open/Save folder.", this);
    openSave_->setObjectName("openSave");
    layout->addWidget(openSave_);
    animation_ = new SeamAnimation(this);
    layout->addWidget(animation_);
    status_ = new QLabel(linkpanel::kSendReadyText, this);
    status_->setObjectName("status");
    status_->setAlignment(Qt::AlignCenter);
    layout->addWidget(status_);
    counter_ = new QLabel(this);
    counter_->setObjectName("counter");
    layout->addWidget(counter_);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton("Start", this);
    start_->setObjectName("start");
    start_->setDefault(true);
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("cancel");
    name_ = new QPushButton("Name", this);
    name_->setObjectName("nameButton");
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(name_);
    layout->addLayout(buttons);

    const bool direct = rules_.Request().mode == linkpanel::SendMode::kDirect;
    name_->setVisible(direct);
    name_->setEnabled(direct);
    const int destination = rules_.Preselected();
    const bool card = destination == kDestinationAtaCard || destination == kDestinationAtaCardFolder;
    ataCard_->setChecked(card);
    builtIn_->setChecked(!card);
    openSave_->setChecked(destination == kDestinationMemoryFolder ||
                          destination == kDestinationAtaCardFolder);

    connect(start_, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
    connect(name_, &QPushButton::clicked, this, [this] { AskName(); });
    connect(openSave_, &QCheckBox::toggled, this, [this](bool on) { OpenSaveToggled(on); });
  }

  void reject() override {
    animation_->Stop();
    if (std::optional<int> end = rules_.OnClose()) done(*end);
  }

 protected:
  void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == linkpanel::kTransferProgressMessage) {
      const std::string counter = linkpanel::ProgressCounterText(wparam);
      if (!counter.empty()) counter_->setText(QString::fromStdString(counter));
      progress_->setValue(static_cast<int>(lparam));
    } else if (message == linkpanel::kDeviceChangeMessage) {
      setWindowTitle(QString::fromStdString(rules_.Frame().OnDeviceChange(wparam, lparam)));
    } else if (message == linkpanel::kTransferDoneMessage) {
      animation_->Stop();
      done(rules_.OnDone());
    }
  }

 private:
  bool Direct() const { return rules_.Request().mode == linkpanel::SendMode::kDirect; }

  void OpenSaveToggled(bool on) {
    if (!on || !Direct()) return;
    if (!linkpanel::CheckFileNameLength(Handle(), rules_.Request().name)) openSave_->setChecked(false);
  }

  void AskName() {
    QnfNameDialog dialog(this, rules_.Request().name);
    if (dialog.exec() == QDialog::Accepted) rules_.SetName(dialog.Chosen());
  }

  void Start() {
    if (Direct() && openSave_->isChecked() &&
        !linkpanel::CheckFileNameLength(Handle(), rules_.Request().name)) {
      openSave_->setChecked(false);
      return;
    }
    start_->hide();
    cancel_->hide();
    name_->hide();
    status_->setText(linkpanel::kJustAMoment);
    animation_->Play();
    destinationBox_->setEnabled(false);
    openSave_->setEnabled(false);
    const int destination = linkpanel::DestinationOf(ataCard_->isChecked(), openSave_->isChecked());
    rules_.Start(
        destination, [this] { return CheckVersionDlg(Handle(), 0); },
        [this](int where, VelinorAbortEvent* abortEvent) {
          return CountMachineDesigns(this, where, abortEvent);
        });
  }

  linkpanel::SendDesignsRules rules_;
  QGroupBox* destinationBox_;
  QRadioButton* builtIn_;
  QRadioButton* ataCard_;
  QCheckBox* openSave_;
  SeamAnimation* animation_;
  QLabel* status_;
  QLabel* counter_;
  QProgressBar* progress_;
  QPushButton* start_;
  QPushButton* cancel_;
  QPushButton* name_;
};

}  // namespace

}  // namespace linkpanel_ui

namespace linkpanel {

int RunSendDesignsDialog(platform::WindowHandle owner, const SendRequest& request) {
  linkpanel_ui::SendDesignsDialog dialog(linkpanel_ui::OwnerWidget(owner), request);
  return dialog.exec();
}

}  // namespace linkpanel
