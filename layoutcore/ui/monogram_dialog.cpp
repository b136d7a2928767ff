#include "layoutcore/ui/monogram_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QGuiApplication>
#include <QVBoxLayout>

#include "layoutcore/ui/monogram_color_dialog.h"
#include "platform/ui/qt_canvas.h"

namespace editor_ui {

namespace {

constexpr int kMaxEditLength = editor::kMaxLetteringCharacters;

const char* const kInstructions[] = {
    "Instructions:",
    "(1) Enter letters/numbers.",
    "(2) Select a layout type and\n     click (Register).",
    "(3) Drag to desired position.",
    "(4) Click OK.",
    "(5) Click No to proceed or click\n     Yes to save as separate file.",
};

const CMonogramDlg::Look kBroderaLook{"&Color", "stitch data(*.qnf)", editor::kMonoSaveExtension};

// The Qt file-save dialog, with the lettering's filter and extension.
std::optional<std::filesystem::path> AskSavePath(QWidget* parent, const std::filesystem::path& folder,
                                                 const std::string& defaultName, const char* filter,
                                                 const char* extension) {
  QFileDialog dialog(parent, QString(), QString::fromStdString((folder / (defaultName + ".qnf")).string()),
                     filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(extension);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace

CMonogramEdit::CMonogramEdit(QWidget* parent, const editor::MonogramDialogRules& rules)
    : QLineEdit(parent), rules_(rules) {
  setMaxLength(kMaxEditLength);
}

void CMonogramEdit::keyPressEvent(QKeyEvent* event) {
  // Only printable characters are filtered; editing keys (backspace, delete, arrows, return)
  // pass as they are.
  constexpr char16_t kDeleteKeyText = 0x7F;
  const QString typed = event->text();
  if (typed.size() == 1) {
    const char16_t c = typed.at(0).unicode();
    const bool printable = c >= 0x20 && c != kDeleteKeyText;
    if (printable && (c > 0xFF || !rules_.AcceptsCharacter(static_cast<unsigned char>(c)))) return;
  }
  QLineEdit::keyPressEvent(event);
}

MonogramPreview::MonogramPreview(QWidget* parent, editor::MonogramDialogRules& rules)
    : QWidget(parent), rules_(rules) {
  const editor::LetteringHoop& hoop = rules.Constants().hoop;
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int screenHeight = screen ? screen->availableGeometry().height() : hoop.previewHeight * 4;
  const double scale = editor::MonogramPreviewScale(hoop.previewHeight, screenHeight);
  setFixedSize(static_cast<int>(hoop.previewWidth * scale), static_cast<int>(hoop.previewHeight * scale));
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
}

editor::MonogramPoint MonogramPreview::ToGlyph(const QPoint& p) const {
  return rules_.ToGlyphPixels(p.x(), p.y(), width(), height());
}

void MonogramPreview::ShowCursor() {
  switch (rules_.Cursor(rect().contains(mapFromGlobal(QCursor::pos())))) {
    case editor::MonogramCursor::kNo: setCursor(Qt::ForbiddenCursor); break;
    case editor::MonogramCursor::kRotate: setCursor(Qt::SizeAllCursor); break;
    default: setCursor(Qt::CrossCursor); break;
  }
}

void MonogramPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const editor::LetteringHoop& hoop = rules_.Constants().hoop;
  painter.scale(static_cast<double>(width()) / hoop.previewWidth, static_cast<double>(height()) / hoop.previewHeight);
  platform_ui::QtCanvas canvas(painter);
  rules_.Paint(canvas);
}

void MonogramPreview::mousePressEvent(QMouseEvent* event) {
  const editor::MonogramPoint p = ToGlyph(event->position().toPoint());
  if (event->button() == Qt::LeftButton) rules_.LeftDown(p);
  if (event->button() == Qt::RightButton) rules_.RightDown(p);
  ShowCursor();
  update();
}

void MonogramPreview::mouseMoveEvent(QMouseEvent* event) {
  if (!rules_.Capturing()) return;
  rules_.MouseMove(ToGlyph(event->position().toPoint()));
  ShowCursor();
  update();
}

void MonogramPreview::mouseReleaseEvent(QMouseEvent* event) {
  const editor::MonogramPoint p = ToGlyph(event->position().toPoint());
  if (event->button() == Qt::LeftButton) rules_.LeftUp(p);
  if (event->button() == Qt::RightButton) rules_.RightUp(p);
  ShowCursor();
  update();
}

CMonogramDlg::CMonogramDlg(QWidget* parent, const editor::MonogramDialogInput& input, const std::string& program,
                           editor::MonogramDialogKind kind)
    : CMonogramDlg(
          parent, std::make_unique<editor::MonogramDialogRules>(kind, program),
          [&input](editor::MonogramDialogRules& rules) { return rules.Init(input); }, kBroderaLook) {}

CMonogramDlg::CMonogramDlg(QWidget* parent, std::unique_ptr<editor::MonogramDialogRules> rules,
                           const std::function<bool(editor::MonogramDialogRules&)>& init, const Look& look)
    : QDialog(parent), rulesOwner_(std::move(rules)), rules_(*rulesOwner_) {
  setWindowTitle(rules_.Constants().caption);
  savePrompt_ = [this, look](const std::filesystem::path& folder, const std::string& name) {
    return AskSavePath(this, folder, name, look.saveFilter, look.saveExtension);
  };
  initialised_ = init(rules_);

  edit_ = new CMonogramEdit(this, rules_);
  edit_->setObjectName("1014");
  fonts_ = new QComboBox(this);
  for (const std::string& name : rules_.FontNames()) fonts_->addItem(QString::fromStdString(name));
  spacing_ = new QComboBox(this);
  for (const char* name : editor::kSpacingNames) spacing_->addItem(name);
  auto* layoutGroup = new QButtonGroup(this);
  const char* layoutNames[3] = {"Free", "Line", "Arc"};
  for (int i = 0; i < 3; ++i) {
    radios_[i] = new QRadioButton(layoutNames[i], this);
    layoutGroup->addButton(radios_[i], i);
  }
  register_ = new QPushButton("(Register)", this);
  colour_ = new QPushButton(look.colourCaption, this);
  delete_ = new QPushButton("&Delete", this);
  deleteAll_ = new QPushButton("Delete &All", this);
  ok_ = new QPushButton("&OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  preview_ = new MonogramPreview(this, rules_);

  auto* form = new QGridLayout;
  form->addWidget(new QLabel("Letters/Numbers", this), 0, 0);
  form->addWidget(edit_, 0, 1);
  form->addWidget(new QLabel("Font", this), 1, 0);
  form->addWidget(fonts_, 1, 1);
  form->addWidget(new QLabel("Spacing", this), 2, 0);
  form->addWidget(spacing_, 2, 1);
  auto* radios = new QHBoxLayout;
  for (QRadioButton* radio : radios_) radios->addWidget(radio);
  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addLayout(radios);
  left->addWidget(register_);
  left->addWidget(colour_);
  left->addWidget(delete_);
  left->addWidget(deleteAll_);
  for (const char* line : kInstructions) left->addWidget(new QLabel(line, this));
  left->addStretch(1);
  auto* okRow = new QHBoxLayout;
  okRow->addWidget(ok_);
  okRow->addWidget(cancel);
  left->addLayout(okRow);
  auto* view = new QGroupBox("Stitch View", this);
  auto* viewLayout = new QVBoxLayout(view);
  viewLayout->addWidget(preview_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(view);

  edit_->setText(QString::fromStdString(rules_.EditText()));
  fonts_->setCurrentIndex(rules_.FontSelection());
  spacing_->setCurrentIndex(rules_.SpacingSelection());
  radios_[rules_.LayoutType()]->setChecked(true);

  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    rules_.SetEditText(text.toLatin1().toStdString());
  });
  connect(fonts_, &QComboBox::currentIndexChanged, this, [this](int index) {
    rules_.ChooseFont(index);
    edit_->setFocus();
  });
  connect(spacing_, &QComboBox::currentIndexChanged, this, [this](int index) {
    rules_.ChooseSpacing(index);
    edit_->setFocus();
  });
  connect(layoutGroup, &QButtonGroup::idClicked, this, [this](int type) {
    rules_.ChooseLayout(type);
    ShowState();
  });
  connect(register_, &QPushButton::clicked, this, [this] {
    const auto result = rules_.Register();
    edit_->setText(QString::fromStdString(rules_.EditText()));
    if (result.focusEdit) edit_->setFocus();
    if (result.selectEditText) edit_->selectAll();
    ShowState();
  });
  connect(colour_, &QPushButton::clicked, this, [this] {
    CMonogramColorDlg dialog(this, rules_.ColourIndex());
    if (dialog.exec() == QDialog::Accepted) rules_.ChooseColour(dialog.ChosenIndex());
    ShowState();
  });
  connect(delete_, &QPushButton::clicked, this, [this] {
    rules_.Delete();
    edit_->setText(QString::fromStdString(rules_.EditText()));
    ShowState();
  });
  connect(deleteAll_, &QPushButton::clicked, this, [this] {
    rules_.DeleteAll();
    edit_->setText(QString());
    edit_->setFocus();
    ShowState();
  });
  connect(ok_, &QPushButton::clicked, this, &CMonogramDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CMonogramDlg::reject);
  ShowState();
}

void CMonogramDlg::ShowState() {
  spacing_->setEnabled(rules_.SpacingEnabled());
  delete_->setEnabled(rules_.DeleteEnabled());
  deleteAll_->setEnabled(rules_.DeleteAllEnabled());
  ok_->setEnabled(rules_.OkEnabled());
  preview_->update();
}

int CMonogramDlg::exec() {
  if (!initialised_) return QDialog::Rejected;
  return QDialog::exec();
}

void CMonogramDlg::accept() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const editor::MonogramOkOutcome outcome = rules_.Ok([this](const auto& folder, const auto& name) {
    QApplication::restoreOverrideCursor();
    auto path = savePrompt_(folder, name);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return path;
  });
  QApplication::restoreOverrideCursor();
  ShowState();
  if (outcome == editor::MonogramOkOutcome::kAccepted) QDialog::accept();
  if (outcome == editor::MonogramOkOutcome::kCancelled) QDialog::reject();
}

}  // namespace editor_ui
