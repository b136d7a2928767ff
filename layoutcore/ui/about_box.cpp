#include "layoutcore/ui/about_box.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QStyle>
#include <QSysInfo>

#include "design/ui/maker_links.h"
#include "design/ui/splash_wnd.h"

namespace editor_ui {

namespace {

constexpr char kProductLine[] = "Velinor 7000 Version 2.2";

}  // namespace

QString CAboutDlg::PlatformLine() {
  // The system the program runs on, as it names itself ("Debian GNU/Linux 12 (bookworm)").
  return " for " + QSysInfo::prettyProductName();
}

CAboutDlg::CAboutDlg(QWidget* parent, const QString& program, int splashBitmap)
    : QDialog(parent), splashBitmap_(splashBitmap) {
  setWindowTitle("About " + program);
  icon_ = new QLabel(this);
  icon_->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  icon_->installEventFilter(this);
  link1_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kHome, this);
  link5_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kSupport, this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon_, 0, 0, 3, 1);
  layout->addWidget(new QLabel(QString("%1  %2").arg(kProductLine, program), this), 0, 1);
  layout->addWidget(new QLabel(PlatformLine(), this), 1, 1);
  layout->addWidget(link1_, 2, 1);
  layout->addWidget(link5_, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == icon_ && event->type() == QEvent::MouseButtonDblClick) {
    design_ui::CSplashWnd::ShowSplashScreen(this, false, splashBitmap_);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace editor_ui
