#pragma once

// Drives a print preview window as a user does, while it is open: chooses a paper in its page
// setup (the pages are drawn again on it), presses the window's own Print once, and accepts
// the print dialog that Print opens (after fillIn, the user's other choices in it).

#include <QAction>
#include <QApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <functional>
#include <utility>

namespace edtest {

class PreviewPrintDriver {
 public:
  PreviewPrintDriver(QPageSize::PageSizeId paper, std::function<void(QPrintDialog&)> fillIn = {})
      : paper_(QPageSize(paper), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter),
        fillIn_(std::move(fillIn)) {
    QObject::connect(&ticker_, &QTimer::timeout, [this] { Step(); });
    ticker_.start(20);
  }

  // Whether Print was pressed since the last call; the next preview gets it pressed again.
  bool TakePressed() { return std::exchange(pressed_, false); }

 private:
  void Step() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
      if (fillIn_) fillIn_(*print);
      print->accept();
    } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal); preview && !pressed_) {
      preview->printer()->setPageLayout(paper_);
      preview->findChild<QPrintPreviewWidget*>()->updatePreview();
      for (QAction* action : preview->findChildren<QAction*>()) {
        if (action->text() != "Print") continue;
        pressed_ = true;
        // Queued: Print runs its own print dialog, which this ticker must be free to accept.
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
      }
    }
  }

  QPageLayout paper_;
  std::function<void(QPrintDialog&)> fillIn_;
  bool pressed_ = false;
  QTimer ticker_;
};

}  // namespace edtest
