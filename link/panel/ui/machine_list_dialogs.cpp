// The Receive Designs and Delete Designs dialogs, the small dialog that fetches the
// machine's list or one design for the preview, the receiving dialog and the delete
// progress dialog.

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/panel/link_settings.h"
#include "link/panel/machine_dialogs.h"
#include "link/panel/machine_list.h"
#include "link/panel/design_preview.h"
#include "link/panel/send_designs.h"
#include "link/panel/ui/design_preview_widget.h"
#include "link/panel/ui/posting_dialog.h"
#include "link/panel/ui/seam_animation.h"
#include "platform/file_io.h"
#include "platform/work_folder.h"

namespace linkpanel_ui {

namespace {

// The receive and delete dialogs fetch their list once they show, with this private
// command to themselves.
constexpr int kCmdFetchList = 49996;

constexpr const char* kListDialogCaption = "Receive Design List";
constexpr const char* kListDialogText = "Receiving design lists from Halvora.";
constexpr const char* kPreviewDialogCaption = "Receive Preview Data";
constexpr const char* kUploadCaption = "Upload";
constexpr const char* kBrowseTitle = "Select the folder to store the received embroidery data.";

QPushButton* NamedButton(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

// Dialog 105: runs one job (the machine's list, or one design for the preview) on its own
// worker and ends with 1 (done) or 2 (failed, already shown). Its close box stops the
// worker; the worker is joined before the dialog ends.
class FetchDialog : public PostingDialog {
 public:
  FetchDialog(QWidget* owner, const char* caption, const char* text, linkpanel::TransferJob job,
              bool holdsPreviewLock)
      : PostingDialog(owner), job_(std::move(job)), holdsPreviewLock_(holdsPreviewLock) {
    setObjectName("fetchDialog");
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    layout->addWidget(bar_);
  }
  ~FetchDialog() override { worker_.Join(); }

  void reject() override {
    worker_.Abort();
    if (!worker_.Started()) done(linkpanel::kEndCancelled);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    PostingDialog::showEvent(event);
    if (posted_) return;
    posted_ = true;
    platform::PostToUi(Handle(), linkpanel::kCommandMessage, linkpanel::kCmdStartWorker, 0);
  }

  void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == linkpanel::kTransferProgressMessage) {
      bar_->setValue(static_cast<int>(lparam));
      return;
    }
    HandleWorkerCommand(message, wparam, [this] { StartWorker(); }, [this] { worker_.Join(); });
  }

 private:
  void StartWorker() {
    if (!worker_.CreateAbortEvent()) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateEvent, windowTitle().toStdString(),
                           platform::kMbOk | platform::kMbIconError);
      done(linkpanel::kEndCancelled);
      return;
    }
    const platform::WindowHandle self = Handle();
    VelinorAbortEvent* abortEvent = worker_.AbortEvent();
    const linkpanel::TransferJob* job = &job_;
    const bool holdsLock = holdsPreviewLock_;
    linkpanel::SetProgressTarget(self);
    const bool running = worker_.Start([self, abortEvent, job, holdsLock] {
      std::unique_lock<std::mutex> lock(linkpanel::PreviewLock(), std::defer_lock);
      if (holdsLock) lock.lock();
      const int result = linkpanel::RunTransferJob(self, abortEvent, *job);
      platform::PostToUi(self, linkpanel::kCommandMessage,
                         result == 0 ? linkpanel::kCmdWorkerSucceeded : linkpanel::kCmdWorkerFailed, 0);
    });
    if (!running) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateThread, windowTitle().toStdString(),
                           platform::kMbOk | platform::kMbIconError);
      done(linkpanel::kEndCancelled);
    }
  }

  linkpanel::TransferJob job_;
  bool holdsPreviewLock_;
  QProgressBar* bar_;
  bool posted_ = false;
  linkpanel::TransferWorker worker_;
};

int RunFetch(QWidget* owner, const char* caption, const char* text, linkpanel::TransferJob job,
             bool holdsPreviewLock) {
  FetchDialog dialog(owner, caption, text, std::move(job), holdsPreviewLock);
  return dialog.exec();
}

// Dialog 109: deletes the designs of the list at once, highest number first. The close
// box stops it between designs and sets the abort event, so a delete can always be
// stopped; the busy flag is cleared however it ends.
class DeleteProgressDialog : public PostingDialog {
 public:
  DeleteProgressDialog(QWidget* owner, std::vector<TransferListEntry> entries)
      : PostingDialog(owner), entries_(std::move(entries)), frame_(linkpanel::kDeleteAction, Handle()) {
    setObjectName("deleteProgress");
    setWindowTitle(linkpanel::kDeleteAction);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(linkpanel::kDeletingText, this));
    counter_ = new QLabel(this);
    counter_->setObjectName("counter");
    layout->addWidget(counter_);
  }

  void reject() override {
    stop_ = true;
    if (std::optional<int> end = frame_.OnClose()) done(*end);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    PostingDialog::showEvent(event);
    if (posted_) return;
    posted_ = true;
    platform::PostToUi(Handle(), linkpanel::kCommandMessage, linkpanel::kCmdStartWorker, 0);
  }

  void OnPosted(unsigned message, uintptr_t wparam, intptr_t) override {
    if (message == linkpanel::kTransferProgressMessage) {
      counter_->setText(QString::fromStdString(linkpanel::DeleteCounterText(wparam)));
      return;
    }
    HandleWorkerCommand(message, wparam, [this] { Start(); }, [this] { frame_.End(); });
  }

 private:
  void Start() {
    frame_.MarkStarted();
    linkpanel::TransferWorker& worker = frame_.Worker();
    if (!worker.CreateAbortEvent()) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateEvent, linkpanel::kDeleteCaption,
                           platform::kMbOk | platform::kMbIconError);
      frame_.End();
      done(linkpanel::kEndCancelled);
      return;
    }
    const platform::WindowHandle self = Handle();
    VelinorAbortEvent* abortEvent = worker.AbortEvent();
    const linkpanel::TransferJob job = linkpanel::DeleteJob(entries_, self, stop_);
    const bool running = worker.Start([self, abortEvent, job] {
      const int result = linkpanel::RunTransferJob(self, abortEvent, job);
      platform::PostToUi(self, linkpanel::kCommandMessage,
                         result == 0 ? linkpanel::kCmdWorkerSucceeded : linkpanel::kCmdWorkerFailed, 0);
    });
    if (!running) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateThread, linkpanel::kDeleteCaption,
                           platform::kMbOk | platform::kMbIconError);
      frame_.End();
      done(linkpanel::kEndCancelled);
    }
  }

  // The worker reads these until it is joined: they are made before the frame, which
  // joins it, and go after it.
  std::vector<TransferListEntry> entries_;
  std::atomic<bool> stop_{false};
  linkpanel::TransferDialogFrame frame_;
  QLabel* counter_;
  bool posted_ = false;
};

// Dialog 106: receives the chosen designs once the user presses Start.
class ReceivingDialog : public PostingDialog {
 public:
  ReceivingDialog(QWidget* owner, std::vector<TransferListEntry> entries)
      : PostingDialog(owner), entries_(std::move(entries)), frame_(linkpanel::kReceiveAction, Handle()) {
    setObjectName("receiving");
    setWindowTitle(QString::fromStdString(frame_.Open()));
    auto* layout = new QVBoxLayout(this);
    animation_ = new SeamAnimation(this);
    layout->addWidget(animation_);
    status_ = new QLabel(linkpanel::kReceiveReadyText, this);
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
    start_ = NamedButton("Start", "start", this);
    start_->setDefault(true);
    cancel_ = NamedButton("Cancel", "cancel", this);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  }

  void reject() override {
    animation_->Stop();
    if (std::optional<int> end = frame_.OnClose()) done(*end);
  }

 protected:
  void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == linkpanel::kTransferProgressMessage) {
      const std::string counter = linkpanel::ProgressCounterText(wparam);
      if (!counter.empty()) counter_->setText(QString::fromStdString(counter));
      progress_->setValue(static_cast<int>(lparam));
    } else if (message == linkpanel::kDeviceChangeMessage) {
      setWindowTitle(QString::fromStdString(frame_.OnDeviceChange(wparam, lparam)));
    } else if (message == linkpanel::kTransferDoneMessage) {
      animation_->Stop();
      done(frame_.OnDone());
    }
  }

 private:
  void EndEarly() { platform::PostToUi(Handle(), linkpanel::kTransferDoneMessage, 0, 0); }

  void Start() {
    start_->hide();
    cancel_->hide();
    status_->setText(linkpanel::kJustAMoment);
    animation_->Play();
    frame_.MarkStarted();
    linkpanel::TransferWorker& worker = frame_.Worker();
    if (!worker.CreateAbortEvent()) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateEvent, kUploadCaption,
                           platform::kMbOk | platform::kMbIconError);
      EndEarly();
      return;
    }
    const platform::WindowHandle self = Handle();
    VelinorAbortEvent* abortEvent = worker.AbortEvent();
    const linkpanel::TransferJob job = linkpanel::ReceiveJob(entries_);
    linkpanel::SetProgressTarget(self);
    const bool running = worker.Start([self, abortEvent, job] {
      const int result = linkpanel::RunTransferJob(self, abortEvent, job);
      platform::PostToUi(self, linkpanel::kTransferDoneMessage, 0, result == 0 ? 1 : 0);
    });
    if (!running) {
      platform::MessageBox(Handle(), linkpanel::kFailedToCreateAThread, linkpanel::kReceivingCaption,
                           platform::kMbOk | platform::kMbIconError);
      EndEarly();
    }
  }

  std::vector<TransferListEntry> entries_;
  linkpanel::TransferDialogFrame frame_;
  SeamAnimation* animation_;
  QLabel* status_;
  QLabel* counter_;
  QProgressBar* progress_;
  QPushButton* start_;
  QPushButton* cancel_;
};

// The machine's list with ticks, in which the arrow keys move the focus row by row.
class MachineListView : public QTreeWidget {
 public:
  explicit MachineListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("list");
    setColumnCount(1);
    setHeaderLabels({"FileName"});
    header()->resizeSection(0, 200);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setToolTip("Designs in Halvora");
  }
};

// Dialogs 103 (receive) and 108 (delete).
class MachineListDialog : public PostingDialog {
 public:
  MachineListDialog(QWidget* owner, linkpanel::ListPurpose purpose)
      : PostingDialog(owner),
        rules_(purpose),
        frame_(Receiving() ? linkpanel::kReceiveAction : linkpanel::kDeleteAction, Handle()) {
    setObjectName(Receiving() ? "receiveDesigns" : "deleteDesigns");
    setWindowTitle(QString::fromStdString(frame_.Open()));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    list_ = new MachineListView(this);
    left->addWidget(list_);
    auto* previewButtons = new QHBoxLayout;
    autoPreview_ = new QCheckBox("Auto Preview", this);
    autoPreview_->setObjectName("autoPreview");
    autoPreview_->setToolTip("Automatically showed by selecting design.");
    showPreview_ = NamedButton("Show Preview", "showPreview", this);
    showPreview_->setToolTip(Receiving() ? "Show design." : "Show Design.");
    selectAll_ = NamedButton("Select All Designs", "selectAll", this);
    selectAll_->setToolTip("Select all designs at once.");
    previewButtons->addWidget(autoPreview_);
    previewButtons->addWidget(showPreview_);
    previewButtons->addWidget(selectAll_);
    left->addLayout(previewButtons);
    counter_ = new QLabel(this);
    counter_->setObjectName("counter");
    counter_->setToolTip("Read number of selected designs.");
    left->addWidget(counter_);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    preview_ = new DesignPreviewWidget(this);
    preview_->setToolTip("Preview Window.");
    right->addWidget(preview_);
    hoop_ = new QLabel(this);
    hoop_->setObjectName("hoop");
    right->addWidget(hoop_);
    auto* sourceBox = new QGroupBox(Receiving() ? "Receive From" : "Delete From", this);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    builtIn_ = new QRadioButton("Built-in", sourceBox);
    builtIn_->setObjectName("builtIn");
    builtIn_->setToolTip("Select Built-in memory.");
    ataCard_ = new QRadioButton("ATA PC Card", sourceBox);
    ataCard_->setObjectName("ataCard");
    ataCard_->setToolTip("Select ATA PC Card.");
    sourceLayout->addWidget(builtIn_);
    sourceLayout->addWidget(ataCard_);
    if (Receiving()) {
      pcCard_ = new QRadioButton("PC Design Card", sourceBox);
      pcCard_->setObjectName("pcCard");
      pcCard_->setToolTip("Select PC Design Card.");
      sourceLayout->addWidget(pcCard_);
    }
    builtIn_->setChecked(true);
    right->addWidget(sourceBox);
    openSave_ = new QCheckBox("Select Open/Save folder.", this);
    openSave_->setObjectName("openSave");
    right->addWidget(openSave_);
    if (Receiving()) {
      right->addWidget(new QLabel("Folder :", this));
      auto* folderRow = new QHBoxLayout;
      folder_ = new QLineEdit(QString::fromStdString(linkpanel::InitialReceiveFolder()), this);
      folder_->setObjectName("folder");
      auto* browse = NamedButton("Browse", "browse", this);
      browse->setToolTip("Select location.");
      folderRow->addWidget(folder_);
      folderRow->addWidget(browse);
      right->addLayout(folderRow);
      connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    }
    auto* buttons = new QHBoxLayout;
    action_ = NamedButton(Receiving() ? "Receive" : "Delete", "action", this);
    action_->setToolTip(Receiving() ? "Start to receive designs." : "Start to delete designs.");
    auto* cancel = NamedButton("Cancel", "cancel", this);
    cancel->setToolTip("Cancel");
    buttons->addWidget(action_);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    layout->addLayout(right);
    ShowCounter();

    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
      if (filling_) return;
      rules_.Tick(RowOf(item), item->checkState(0) == Qt::Checked);
      ShowCounter();
    });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
      if (!filling_ && item && autoPreview_->isChecked()) Preview();
    });
    connect(showPreview_, &QPushButton::clicked, this, [this] { Preview(); });
    connect(selectAll_, &QPushButton::clicked, this, [this] { SelectAll(); });
    for (QRadioButton* button : {builtIn_, ataCard_, pcCard_}) {
      if (!button) continue;
      connect(button, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SourceChanged();
      });
    }
    connect(openSave_, &QCheckBox::toggled, this, [this] { SourceChanged(); });
    connect(action_, &QPushButton::clicked, this, [this] { Act(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  }

  void reject() override {
    if (std::optional<int> end = frame_.OnClose()) done(*end);
  }

  std::vector<TransferListEntry> TakeEntries() { return std::move(entries_); }

 protected:
  void showEvent(QShowEvent* event) override {
    PostingDialog::showEvent(event);
    if (posted_) return;
    posted_ = true;
    platform::PostToUi(Handle(), linkpanel::kCommandMessage, kCmdFetchList, 0);
  }

  void OnPosted(unsigned message, uintptr_t wparam, intptr_t lparam) override {
    if (message == linkpanel::kDeviceChangeMessage) {
      setWindowTitle(QString::fromStdString(frame_.OnDeviceChange(wparam, lparam)));
    } else if (message == linkpanel::kCommandMessage && static_cast<int>(wparam) == kCmdFetchList) {
      Fetch();
    }
  }

 private:
  bool Receiving() const { return rules_.Purpose() == linkpanel::ListPurpose::kReceive; }

  int Destination() const {
    linkpanel::MachineSource source = linkpanel::MachineSource::kBuiltIn;
    if (ataCard_->isChecked()) source = linkpanel::MachineSource::kAtaCard;
    if (pcCard_ && pcCard_->isChecked()) source = linkpanel::MachineSource::kPcDesignCard;
    return linkpanel::SourceDestination(source, openSave_->isChecked());
  }

  static std::size_t RowOf(QTreeWidgetItem* item) {
    return static_cast<std::size_t>(item->data(0, Qt::UserRole).toULongLong());
  }

  void ShowCounter() {
    counter_->setText(QString::fromStdString(rules_.CounterText()));
    action_->setEnabled(rules_.ActionEnabled());
  }

  void SourceChanged() {
    // The PC design card has no Open/Save folder.
    openSave_->setEnabled(!(pcCard_ && pcCard_->isChecked()));
    if (!openSave_->isEnabled() && openSave_->isChecked()) {
      const QSignalBlocker quiet(openSave_);
      openSave_->setChecked(false);
    }
    Fetch();
  }

  void Fetch() {
    const std::filesystem::path file = platform::ProgramWorkFile(linkpanel::kDirectoryFileName);
    // A directory left from an earlier fetch must not stand in for this one.
    (void)platform::RemoveFile(file);
    (void)RunFetch(this, kListDialogCaption, kListDialogText,
                   linkpanel::DirectoryJob(Destination(), file, linkpanel::PostBarProgress), false);
    rules_.FillFromDirectory(Handle(), file);
    ShowList();
    // How many lists and previews have been fetched: what a test waits on before it acts.
    setProperty("listsFetched", property("listsFetched").toInt() + 1);
  }

  void ShowList() {
    filling_ = true;
    list_->clear();
    const auto& rows = rules_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(rows[i].name)});
      item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(0, rows[i].ticked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    ShowCounter();
  }

  void SelectAll() {
    rules_.TickAll();
    ShowList();
  }

  void Preview() {
    QTreeWidgetItem* item = list_->currentItem();
    if (rules_.Rows().empty() || item == nullptr) return;
    const linkpanel::MachineRow row = rules_.Rows()[RowOf(item)];
    const std::filesystem::path file = platform::ProgramWorkFile(linkpanel::kPreviewFileName);
    // A preview file left from an earlier run must not be drawn as this design.
    (void)platform::RemoveFile(file);
    const int end = RunFetch(this, kPreviewDialogCaption, linkpanel::kJustAMoment,
                             linkpanel::PreviewJob(row, Destination(), file), true);
    if (end == linkpanel::kEndDone) {
      std::string hoopName;
      if (linkpanel::IsPreviewableName(row.name) && preview_->ShowDesign(file, &hoopName)) {
        hoop_->setText(QString::fromStdString(hoopName));
      } else if (linkpanel::IsPreviewableName(row.name)) {
        hoop_->clear();
      }
    } else {
      preview_->ClearPreview();
      hoop_->clear();
    }
    (void)platform::RemoveFile(file);
    setProperty("previewsFetched", property("previewsFetched").toInt() + 1);
  }

  void Browse() {
    const QString chosen = QFileDialog::getExistingDirectory(this, kBrowseTitle, folder_->text());
    if (chosen.isEmpty()) return;
    folder_->setText(chosen);
    (void)linkpanel::WriteReceivePath(chosen.toStdString());
  }

  void Act() {
    if (Receiving()) {
      std::optional<std::vector<TransferListEntry>> list =
          rules_.ReceiveList(Handle(), folder_->text().toStdString(), Destination());
      if (!list) return;
      entries_ = std::move(*list);
      frame_.End();
      done(linkpanel::kEndDone);
      return;
    }
    if (platform::MessageBox(Handle(), "Are you sure?", linkpanel::kDeleteCaption,
                             platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
      return;
    }
    std::optional<std::vector<TransferListEntry>> list = rules_.DeleteList(Handle(), Destination());
    if (!list) return;
    {
      DeleteProgressDialog progress(this, std::move(*list));
      (void)progress.exec();
    }
    frame_.End();
    done(linkpanel::kEndDone);
  }

  linkpanel::MachineListRules rules_;
  linkpanel::TransferDialogFrame frame_;
  MachineListView* list_;
  QCheckBox* autoPreview_;
  QPushButton* showPreview_;
  QPushButton* selectAll_;
  QLabel* counter_;
  DesignPreviewWidget* preview_;
  QLabel* hoop_;
  QRadioButton* builtIn_;
  QRadioButton* ataCard_;
  QRadioButton* pcCard_ = nullptr;
  QCheckBox* openSave_;
  QLineEdit* folder_ = nullptr;
  QPushButton* action_;
  std::vector<TransferListEntry> entries_;
  bool posted_ = false;
  bool filling_ = false;
};

}  // namespace

}  // namespace linkpanel_ui

namespace linkpanel {

int RunReceiveDesigns(platform::WindowHandle owner) {
  QWidget* parent = linkpanel_ui::OwnerWidget(owner);
  std::vector<TransferListEntry> entries;
  int end = 0;
  {
    linkpanel_ui::MachineListDialog dialog(parent, ListPurpose::kReceive);
    end = dialog.exec();
    entries = dialog.TakeEntries();
  }
  if (end == kEndDone && !entries.empty()) {
    linkpanel_ui::ReceivingDialog receiving(parent, std::move(entries));
    (void)receiving.exec();
  }
  return end;
}

int RunDeleteDesigns(platform::WindowHandle owner) {
  linkpanel_ui::MachineListDialog dialog(linkpanel_ui::OwnerWidget(owner), ListPurpose::kDelete);
  return dialog.exec();
}

}  // namespace linkpanel
