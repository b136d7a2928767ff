#include "platform/ui/qt_message_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <atomic>
#include <thread>

namespace {

using platform_ui::MakeMessageBox;

TEST(QtMessageBox, FlagsPickButtonsIconDefaultAndTopmost) {
  auto box = MakeMessageBox(nullptr, "There is an error in a file.\nQuit operation.", "Error",
                            platform::kMbYesNoCancel | platform::kMbIconQuestion |
                                platform::kMbDefButton2 | platform::kMbTopmost);
  EXPECT_EQ(box->windowTitle(), "Error");
  EXPECT_EQ(box->text(), "There is an error in a file.\nQuit operation.");
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
  EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);

  auto plain = MakeMessageBox(nullptr, "x", "Import Design", platform::kMbOk | platform::kMbIconExclamation);
  EXPECT_EQ(plain->standardButtons(), QMessageBox::Ok);
  EXPECT_EQ(plain->icon(), QMessageBox::Warning);
  EXPECT_FALSE(plain->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(MakeMessageBox(nullptr, "x", "c", platform::kMbIconInformation)->icon(),
            QMessageBox::Information);
  EXPECT_EQ(MakeMessageBox(nullptr, "x", "c", platform::kMbIconError)->icon(), QMessageBox::Critical);
  EXPECT_EQ(MakeMessageBox(nullptr, "x", "c", platform::kMbRetryCancel)->standardButtons(),
            QMessageBox::Retry | QMessageBox::Cancel);
}

TEST(QtMessageBox, ButtonsAnswerTheirIds) {
  EXPECT_EQ(platform_ui::AnswerFor(QMessageBox::Yes), platform::kIdYes);
  EXPECT_EQ(platform_ui::AnswerFor(QMessageBox::No), platform::kIdNo);
  EXPECT_EQ(platform_ui::AnswerFor(QMessageBox::Cancel), platform::kIdCancel);
  EXPECT_EQ(platform_ui::AnswerFor(QMessageBox::Retry), platform::kIdRetry);
  EXPECT_EQ(platform_ui::AnswerFor(QMessageBox::Ok), platform::kIdOk);
}

// Presses a scripted button instead of waiting for a user, and notes the thread it ran on.
class ScriptedService : public platform_ui::QtMessageService {
 public:
  QMessageBox::StandardButton answer = QMessageBox::No;
  std::atomic<QThread*> ranOn{nullptr};
  QString caption;

 protected:
  QMessageBox::StandardButton Run(QMessageBox& box) override {
    ranOn = QThread::currentThread();
    caption = box.windowTitle();
    return answer;
  }
};

TEST(QtMessageBox, WorkerCallIsCarriedToTheUiThread) {
  ScriptedService service;
  std::atomic<int> answer{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    answer = service.Show(nullptr, "Send failed.", "Link", platform::kMbYesNo);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(answer, platform::kIdNo);
  EXPECT_EQ(service.ranOn.load(), qApp->thread());
  EXPECT_EQ(service.caption, "Link");
}

TEST(QtMessageBox, ClosedWithoutAButtonGivesTheDefaultAnswer) {
  ScriptedService service;
  service.answer = QMessageBox::NoButton;
  EXPECT_EQ(service.Show(nullptr, "?", "c", platform::kMbYesNo | platform::kMbDefButton2),
            platform::kIdNo);
}

TEST(QtMessageBox, InstallMakesItTheProcessService) {
  platform::MessageService* before = platform::GetMessageService();
  platform_ui::InstallQtMessageService();
  EXPECT_NE(platform::GetMessageService(), nullptr);
  EXPECT_NE(dynamic_cast<platform_ui::QtMessageService*>(platform::GetMessageService()), nullptr);
  platform::SetMessageService(before);
}

}  // namespace
