#include "editor/ui/about_box.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QStyle>

#include "design/ui/maker_links.h"
#include "design/ui/splash_wnd.h"

namespace editor_ui {

namespace {

constexpr char kProductLine[] = "Velinor 7000 Version 2.2";
constexpr char kProgramLine[] = "Brodera";
constexpr char kPlatformLine[] = " for Windows 95/98/NT/2000/Me";

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About Brodera");
  icon_ = new QLabel(this);
  icon_->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  icon_->installEventFilter(this);
  link1_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kHome, this);
  link5_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kSupport, this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon_, 0, 0, 3, 1);
  layout->addWidget(new QLabel(QString("%1  %2").arg(kProductLine, kProgramLine), this), 0, 1);
  layout->addWidget(new QLabel(kPlatformLine, this), 1, 1);
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
