#include "platform/ui/doc_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

#include "platform/profile.h"
#include "platform/window_placement.h"

namespace platform_ui {

namespace {

constexpr int kIdleMs = 200;
constexpr char kPlacementSection[] = "Settings";
constexpr char kPlacementKey[] = "wp";

}  // namespace

DocFrame::DocFrame(platform::CommandRouter& router, std::string program)
    : router_(router), program_(std::move(program)) {
  setAcceptDrops(true);
  connect(&idle_, &QTimer::timeout, this, [this] { UpdateCommandUi(); });
  idle_.start(kIdleMs);
}

DocFrame::~DocFrame() = default;

QAction* DocFrame::MakeAction(const MenuEntry& entry, QObject* parent) {
  const QString full = QString::fromStdString(entry.text);
  const int tab = full.indexOf('\t');
  auto* action = new QAction(tab < 0 ? full : full.left(tab), parent);
  if (tab >= 0) action->setShortcut(QKeySequence(full.mid(tab + 1)));
  const int id = entry.id;
  connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
  actions_.emplace(id, action);
  return action;
}

void DocFrame::AddAccelerators(int id, const std::vector<std::string>& keys) {
  auto* action = new QAction(this);
  QList<QKeySequence> sequences;
  for (const std::string& key : keys) sequences.push_back(QKeySequence(QString::fromStdString(key)));
  action->setShortcuts(sequences);
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
  addAction(action);
  actions_.emplace(id, action);
}

void DocFrame::AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (!entry.submenu.empty()) {
      QMenu* sub = menu->addMenu(QString::fromStdString(entry.text));
      connect(sub, &QMenu::aboutToShow, this, [this] { UpdateCommandUi(); });
      AddEntries(sub, entry.submenu);
      continue;
    }
    if (entry.id == 0) {
      menu->addSeparator();
      continue;
    }
    const int recent = entry.id - firstRecentFile_;
    QAction* action = MakeAction(entry, menu);
    menu->addAction(action);
    if (firstRecentFile_ != 0 && recent >= 0 && recent < recentCount_) {
      recentActions_.push_back(action);
      action->setVisible(false);
    }
  }
}

void DocFrame::BuildMenus(const std::vector<MenuSpec>& menus, int firstRecentFile, int recentCount) {
  firstRecentFile_ = firstRecentFile;
  recentCount_ = recentCount;
  recentActions_.clear();
  for (const MenuSpec& spec : menus) {
    QMenu* menu = menuBar()->addMenu(QString::fromStdString(spec.title));
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUi(); });
    AddEntries(menu, spec.entries);
  }
}

QToolBar* DocFrame::AddToolButtons(const std::vector<MenuEntry>& buttons) {
  QToolBar* bar = addToolBar(QString());
  bar->setObjectName("toolbar");
  for (const MenuEntry& entry : buttons) {
    if (entry.id == 0) {
      bar->addSeparator();
      continue;
    }
    bar->addAction(MakeAction(entry, bar));
  }
  return bar;
}

void DocFrame::AddDropDown(QToolBar& bar, int position, const std::vector<MenuEntry>& popup,
                           const char* objectName) {
  const QList<QAction*> buttons = bar.actions();
  if (position >= buttons.size()) return;
  auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(buttons[position]));
  if (!button) return;
  auto* menu = new QMenu(button);
  menu->setObjectName(objectName);
  connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUi(); });
  AddEntries(menu, popup);
  // The arrow beside the button opens the pop-up just below the button's left-bottom corner.
  button->setPopupMode(QToolButton::MenuButtonPopup);
  button->setMenu(menu);
}

void DocFrame::AddStatusPanes(const std::vector<int>& paneIds) {
  for (int id : paneIds) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(label);
    panes_[id] = label;
  }
}

void DocFrame::SetRecentFiles(const std::vector<std::string>& paths) {
  for (std::size_t i = 0; i < recentActions_.size(); ++i) {
    QAction* action = recentActions_[i];
    if (i < paths.size()) {
      action->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(paths[i])));
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
}

QAction* DocFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QLabel* DocFrame::Pane(int id) const {
  const auto it = panes_.find(id);
  return it == panes_.end() ? nullptr : it->second;
}

void DocFrame::UpdateCommandUi() {
  for (const auto& [id, action] : actions_) {
    const platform::CommandState state = router_.Query(id);
    action->setEnabled(state.handled && state.enabled);
    action->setCheckable(state.checked || action->isCheckable());
    action->setChecked(state.checked);
  }
  if (paneText_) {
    for (const auto& [id, label] : panes_) {
      if (const auto text = paneText_(id)) label->setText(QString::fromStdString(*text));
    }
  }
  if (title_) setWindowTitle(QString::fromStdString(title_()));
}

bool DocFrame::Dispatch(int id) {
  const bool ran = router_.Dispatch(id);
  UpdateCommandUi();
  return ran;
}

void DocFrame::SizeForScreen(int width, int height) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    resize(width, height);
    return;
  }
  if (const auto narrow = platform::FrameSizeForScreenWidth(screen->geometry().width())) {
    width = narrow->first;
    height = narrow->second;
  }
  const QRect free = screen->availableGeometry();
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  const QSize size(std::min(width, free.width() - 2 * border), std::min(height, free.height() - titleBar - 2 * border));
  resize(size);
  // A window's position is that of its frame.
  move(free.left() + (free.width() - size.width() - 2 * border) / 2,
       free.top() + (free.height() - size.height() - titleBar - 2 * border) / 2);
}

void DocFrame::ShowWithSavedPlacement() {
  const platform::Profile profile(program_);
  const auto placement =
      platform::ParseWindowPlacement(profile.GetString(kPlacementSection, kPlacementKey));
  if (!placement) {
    show();
    return;
  }
  // The screen may be smaller now than when the placement was saved: the window comes
  // back onto the screen nearest to where it was.
  const QRect saved(placement->left, placement->top, placement->right - placement->left,
                    placement->bottom - placement->top);
  const QScreen* screen = QGuiApplication::screenAt(saved.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  platform::WindowPlacement fitted = *placement;
  if (screen) {
    const QRect free = screen->availableGeometry();
    fitted = platform::FitPlacementOnScreen(*placement, {free.left(), free.top(), free.left() + free.width(),
                                                         free.top() + free.height()});
  }
  setGeometry(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
  if (placement->Maximized()) {
    showMaximized();
  } else {
    show();
  }
}

void DocFrame::SavePlacement() {
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  platform::WindowPlacement placement;
  placement.showCommand = isMaximized() ? platform::kShowMaximized : platform::kShowNormal;
  if (isMaximized()) placement.flags |= platform::kPlacementRestoreToMaximized;
  placement.left = normal.left();
  placement.top = normal.top();
  placement.right = normal.left() + normal.width();
  placement.bottom = normal.top() + normal.height();
  platform::Profile(program_).WriteString(kPlacementSection, kPlacementKey,
                                          platform::FormatWindowPlacement(placement));
}

void DocFrame::closeEvent(QCloseEvent* event) {
  if (canClose_ && !canClose_()) {
    event->ignore();
    return;
  }
  SavePlacement();
  event->accept();
}

void DocFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void DocFrame::dropEvent(QDropEvent* event) {
  if (DropFiles(*event->mimeData())) event->acceptProposedAction();
}

bool DocFrame::DropFiles(const QMimeData& mime) {
  for (const QUrl& url : mime.urls()) {
    if (!url.isLocalFile()) continue;
    if (onDrop_) onDrop_(url.toLocalFile().toStdString());
    return true;  // one document at a time: the first file dropped
  }
  return false;
}

}  // namespace platform_ui
