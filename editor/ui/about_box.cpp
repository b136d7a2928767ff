#include "editor/ui/about_box.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QStyle>
#include <QSysInfo>

#include "design/ui/splash_wnd.h"

namespace editor_ui {

namespace {

constexpr char kProductLine[] = "Velinor 7000 Version 2.2";
constexpr char kProgramLine[] = "Brodera";
constexpr char kLink1[] = "<a href=\"https://velinor7000.example.org/\">velinor7000.example.org</a>";
constexpr char kLink5[] = "<a href=\"https://velinor7000.example.org/support/\">Support</a>";

QLabel* LinkLabel(const char* html, QWidget* parent) {
  auto* label = new QLabel(html, parent);
  label->setTextFormat(Qt::RichText);
  label->setOpenExternalLinks(true);  // opens with the desktop's own handler
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace

QString CAboutDlg::PlatformLine() {
  // The system the program runs on, as it names itself ("Debian GNU/Linux 12 (bookworm)").
  return " for " + QSysInfo::prettyProductName();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About Brodera");
  icon_ = new QLabel(this);
  icon_->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  icon_->installEventFilter(this);
  link1_ = LinkLabel(kLink1, this);
  link5_ = LinkLabel(kLink5, this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon_, 0, 0, 3, 1);
  layout->addWidget(new QLabel(QString("%1  %2").arg(kProductLine, kProgramLine), this), 0, 1);
  layout->addWidget(new QLabel(PlatformLine(), this), 1, 1);
  layout->addWidget(link1_, 2, 1);
  layout->addWidget(link5_, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == icon_ && event->type() == QEvent::MouseButtonDblClick) {
    design_ui::CSplashWnd::ShowSplashScreen(this, false);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace editor_ui
