// The file picker of TransferQNFFiles with Linkpanel's send panel beside it: designs are
// collected into the panel's list and sent from there; the picker's own OK button only
// opens folders.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/panel/design_preview.h"
#include "link/panel/linkpanel.h"
#include "link/panel/panel_dialogs.h"
#include "link/panel/send_panel.h"
#include "link/panel/ui/design_preview_widget.h"
#include "link/panel/ui/posting_dialog.h"

namespace linkpanel_ui {

namespace {

// The picker inside the panel's window: choosing a file never closes it.
class EmbeddedPicker : public QFileDialog {
 public:
  EmbeddedPicker(QWidget* parent, const QString& folder)
      : QFileDialog(parent, "Select Designs", folder, "Embroidery Files(*.qnf)") {
    setWindowFlags(Qt::Widget);
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ReadOnly, true);
    setFileMode(QFileDialog::ExistingFiles);
    setDefaultSuffix("qnf");
    setLabelText(QFileDialog::Accept, "Open Folder");
    setLabelText(QFileDialog::Reject, "Cancel");
  }

  // OK opens a chosen folder and nothing else; Cancel closes the whole window.
  void accept() override {
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && QFileInfo(chosen.front()).isDir()) setDirectory(chosen.front());
  }
  void done(int) override { window()->close(); }
};

class SendPanelDialog : public LinkDialog {
 public:
  SendPanelDialog(QWidget* owner, const std::string& folder, std::filesystem::path listFile)
      : LinkDialog(owner),
        rules_([this] { return CheckVersionDlg(static_cast<QWidget*>(this), 0); }),
        listFile_(std::move(listFile)) {
    setObjectName("sendPanel");
    setWindowTitle("Select Designs");
    auto* layout = new QHBoxLayout(this);
    picker_ = new EmbeddedPicker(this, QString::fromStdString(folder));
    picker_->setObjectName("picker");
    layout->addWidget(picker_, 3);

    auto* panel = new QVBoxLayout;
    list_ = new QTreeWidget(this);
    list_->setObjectName("list");
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHeaderLabels({"File Name", "Size", "Modified", " Path"});
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 50);
    list_->setColumnWidth(2, 100);
    list_->setColumnWidth(3, 5);
    list_->setToolTip("Embroidery File lists");
    panel->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    add_ = Button(">>", "add", "Add embroidery file.", buttons);
    remove_ = Button("<<", "remove", "Remove embroidery file.", buttons);
    clear_ = Button("All Clear", "clear", "Remove all embroidery files.", buttons);
    panel->addLayout(buttons);
    auto* destination = new QGroupBox("Send To Sewing Machine", this);
    auto* destinationLayout = new QVBoxLayout(destination);
    builtIn_ = new QRadioButton("Built-in", destination);
    builtIn_->setObjectName("builtIn");
    builtIn_->setToolTip("Send to Built-in memory in Halvora.");
    ataCard_ = new QRadioButton("ATA PC Card", destination);
    ataCard_->setObjectName("ataCard");
    ataCard_->setToolTip("Send to ATA PC Card in Halvora.");
    destinationLayout->addWidget(builtIn_);
    destinationLayout->addWidget(ataCard_);
    builtIn_->setChecked(true);
    panel->addWidget(destination);
    openSave_ = new QCheckBox("Select Open/Save folder.", this);
    openSave_->setObjectName("openSave");
    panel->addWidget(openSave_);
    summary_ = new QLabel(this);
    summary_->setObjectName("summary");
    summary_->setToolTip("Number of selected design and total size in byte");
    panel->addWidget(summary_);
    send_ = Button("Send", "send", "Start to send.", panel);
    preview_ = new DesignPreviewWidget(this);
    preview_->setToolTip(QString::fromStdString(linkpanel::PreviewTip(std::nullopt)));
    panel->addWidget(preview_);
    layout->addLayout(panel, 2);
    connect(picker_, &QFileDialog::directoryEntered, this, [this] { ShowPreview(std::nullopt); });

    connect(add_, &QPushButton::clicked, this, [this] { AddChosen(); });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(clear_, &QPushButton::clicked, this, [this] {
      rules_.Clear();
      Refresh();
    });
    connect(openSave_, &QCheckBox::toggled, this, [this](bool on) {
      rules_.SetOpenSaveFolder(this, on);
      Refresh();
    });
    connect(send_, &QPushButton::clicked, this, [this] { Send(); });
    Refresh();
  }

  linkpanel::SendPanelResult Result() const { return result_; }

 protected:
  // The picker makes its views when it first shows; from then on they tell every change
  // of the chosen files.
  void showEvent(QShowEvent* event) override {
    LinkDialog::showEvent(event);
    if (watchingChoice_) return;
    watchingChoice_ = true;
    for (QAbstractItemView* view : picker_->findChildren<QAbstractItemView*>()) {
      if (view->selectionModel() == nullptr) continue;
      QItemSelectionModel* selection = view->selectionModel();
      connect(selection, &QItemSelectionModel::selectionChanged, this,
              [this, selection] { ChoiceChanged(*selection); });
    }
  }

  void reject() override {
    result_.folder = picker_->directory().absolutePath().toStdString();
    QDialog::reject();
  }

 private:
  QPushButton* Button(const char* text, const char* name, const char* tip, QBoxLayout* into) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setToolTip(tip);
    into->addWidget(button);
    return button;
  }

  // The first design chosen anew is previewed; one that cannot be drawn clears the preview.
  void ChoiceChanged(const QItemSelectionModel& selection) {
    std::vector<std::string> chosen;
    for (const QModelIndex& index : selection.selectedIndexes()) {
      if (index.column() != 0) continue;
      chosen.push_back(index.data(QFileSystemModel::FilePathRole).toString().toStdString());
    }
    if (std::optional<std::string> design = linkpanel::NewlyChosenDesign(chosen_, chosen)) {
      ShowPreview(design);
    }
    chosen_ = std::move(chosen);
  }

  void ShowPreview(const std::optional<std::string>& path) {
    const bool shown = path && preview_->ShowDesign(*path);
    if (!shown) preview_->ClearPreview();
    preview_->setToolTip(QString::fromStdString(linkpanel::PreviewTip(shown ? path : std::nullopt)));
  }

  void AddChosen() {
    std::vector<std::string> paths;
    for (const QString& file : picker_->selectedFiles()) {
      if (QFileInfo(file).isFile()) paths.push_back(file.toStdString());
    }
    (void)rules_.Add(this, paths);
    Refresh();
  }

  void RemoveSelected() {
    std::vector<std::size_t> rows;
    for (QTreeWidgetItem* item : list_->selectedItems()) {
      rows.push_back(static_cast<std::size_t>(list_->indexOfTopLevelItem(item)));
    }
    rules_.Remove(rows);
    Refresh();
  }

  void Refresh() {
    list_->clear();
    for (const linkpanel::PanelRow& row : rules_.Rows()) {
      list_->addTopLevelItem(new QTreeWidgetItem(
          {QString::fromStdString(row.name), QString::fromStdString(row.sizeText),
           QString::fromStdString(row.modified), QString::fromStdString(row.path)}));
    }
    summary_->setText(QString::fromStdString(rules_.Summary()));
    send_->setEnabled(rules_.SendEnabled());
  }

  void Send() {
    result_.folder = picker_->directory().absolutePath().toStdString();
    const std::optional<int> destination = rules_.Send(this, listFile_, ataCard_->isChecked());
    if (!destination) return;
    result_.end = 1;
    result_.destination = *destination;
    QDialog::accept();
  }

  linkpanel::SendPanelRules rules_;
  std::filesystem::path listFile_;
  linkpanel::SendPanelResult result_;
  EmbeddedPicker* picker_;
  QTreeWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* clear_;
  QRadioButton* builtIn_;
  QRadioButton* ataCard_;
  QCheckBox* openSave_;
  QLabel* summary_;
  QPushButton* send_;
  DesignPreviewWidget* preview_;
  std::vector<std::string> chosen_;
  bool watchingChoice_ = false;
};

}  // namespace

}  // namespace linkpanel_ui

namespace linkpanel {

SendPanelResult RunSendPanel(platform::WindowHandle owner, const std::string& folder,
                             const std::filesystem::path& listFile) {
  linkpanel_ui::SendPanelDialog dialog(linkpanel_ui::OwnerWidget(owner), folder, listFile);
  dialog.exec();
  return dialog.Result();
}

}  // namespace linkpanel
