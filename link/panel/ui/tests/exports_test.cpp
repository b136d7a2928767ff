// The exported functions driven as a program drives them, on the offscreen platform, with
// the simulated machine on a pseudo-terminal. The modal dialogs are worked from a timer,
// as a user would work them.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QScreen>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <regex>

#include "link/panel/linkpanel.h"
#include "link/panel/tests/link_test_env.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "platform/usb_device.h"
#include "testing/machine/machine_simulator.h"

namespace {

QDialog* Shown(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) {
      return qobject_cast<QDialog*>(widget);
    }
  }
  return nullptr;
}

template <typename T>
T* Child(QWidget* parent, const char* objectName) {
  return parent->findChild<T*>(objectName);
}

// Clicks after the current tick: a click that opens a nested dialog must not hold the
// ticking timer, which Qt does not fire again while its own handler runs.
void ClickLater(QAbstractButton* button) {
  QTimer::singleShot(0, button, [button] { button->click(); });
}

class Exports : public ::testing::Test {
 protected:
  void SetUp() override {
    threadsBefore = lptest::ThreadCount();
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    machine.Start();
    QObject::connect(&ticker, &QTimer::timeout, [this] {
      for (auto& step : steps) step();
    });
    ticker.start(5);
  }
  void TearDown() override {
    ticker.stop();
    machine.Stop();
    unsetenv("VELINOR_COM1");
    unsetenv("VELINOR_COM2");
    QApplication::processEvents();
    EXPECT_EQ(GetTransferStatus(), 0);
    EXPECT_EQ(lptest::ThreadCountSettledAt(threadsBefore), threadsBefore) << "a worker outlived its test";
    EXPECT_EQ(env.WorkFolderFiles(), std::vector<std::string>{}) << "a temporary file was left";
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }

  // Runs on every tick while an export's dialog is up.
  void Every(std::function<void()> step) { steps.push_back(std::move(step)); }
  // Presses Start once the Send Designs dialog shows, and watches the transfer.
  void PressStartAndWatch() {
    Every([this] {
      QDialog* dialog = Shown("sendDesigns");
      if (!dialog) return;
      if (!started) {
        started = true;
        caption = dialog->windowTitle().toStdString();
        QObject::connect(Child<QProgressBar>(dialog, "progress"), &QProgressBar::valueChanged,
                         [this](int value) { topProgress = std::max(topProgress, value); });
        ClickLater(Child<QPushButton>(dialog, "start"));
      }
      if (GetTransferStatus() == 1) busySeen = true;
    });
  }

  void StoreLink(const char* key, int value) {
    platform::Profile("Pictorel").WriteInt("Rs-232c", key, value);
  }

  lptest::LinkEnvironment env;
  vtest::MachineSimulator machine;
  QTimer ticker;
  std::vector<std::function<void()>> steps;
  int threadsBefore = 0;
  bool started = false;
  bool busySeen = false;
  int topProgress = 0;
  std::string caption;
};

TEST_F(Exports, DirectFilesDownloadSendsTheListedDesignsByteForByte) {
  StoreLink("Protocol Ver", 2);
  const std::vector<uint8_t> a = lptest::Design(700, 1);
  const std::vector<uint8_t> b = lptest::Design(20, 2);
  const std::vector<uint8_t> c = lptest::Design(260, 3);
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", a), env.WriteDesign("B.qnf", b),
                                   env.WriteDesign("C.qnf", c)});
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 1), 1);
  // Cablink is there but finds no machine: the send goes over the serial port.
  EXPECT_EQ(caption, "Send Designs - USB Disconnected");
  EXPECT_TRUE(busySeen);
  EXPECT_EQ(GetTransferStatus(), 0);
  EXPECT_EQ(topProgress, 100);
  EXPECT_EQ(Shown("sendDesigns"), nullptr);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].bytes, a);
  EXPECT_EQ(stored[1].bytes, b);
  EXPECT_EQ(stored[2].bytes, c);
  EXPECT_EQ(env.boxes.Count(), 0u);
}

TEST_F(Exports, WithTheMachineOnUsbTheDesignsGoOverUsb) {
  setenv(platform::kUsbDeviceEnvironment, machine.UsbPath().c_str(), 1);
  machine.AttachUsb();
  const std::vector<uint8_t> a = lptest::Design(700, 1);
  const std::vector<uint8_t> b = lptest::Design(20, 2);
  const std::string list =
      env.WriteList({env.WriteDesign("A.qnf", a), env.WriteDesign("B B.qnf", b)});
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 1);
  EXPECT_EQ(caption, "Send Designs - USB Connected");
  EXPECT_EQ(topProgress, 100);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].bytes, a);
  EXPECT_EQ(stored[1].name, "B_B.qnf");
  EXPECT_EQ(stored[1].bytes, b);
  EXPECT_TRUE(machine.TimesOf("ENQ").empty()) << "the serial port was used";
  EXPECT_EQ(env.boxes.Count(), 0u);
}

TEST_F(Exports, AUsbRefusalShowsItsMessageThroughCablink) {
  setenv(platform::kUsbDeviceEnvironment, machine.UsbPath().c_str(), 1);
  machine.AttachUsb();
  machine.RefuseCommand(4, 64);
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(30, 1))});
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 1);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"Cannot be registered."});
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Sending");
  EXPECT_TRUE(machine.Designs(1).empty());
}

TEST_F(Exports, UnpluggingTheMachineChangesTheOpenDialogsCaption) {
  setenv(platform::kUsbDeviceEnvironment, machine.UsbPath().c_str(), 1);
  machine.AttachUsb();
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(30, 1))});
  std::vector<std::string> captions;
  Every([&] {
    QDialog* dialog = Shown("sendDesigns");
    if (!dialog) return;
    const std::string now = dialog->windowTitle().toStdString();
    if (captions.empty() || captions.back() != now) captions.push_back(now);
    if (captions.size() == 1) machine.DetachUsb();
    if (captions.size() == 2) dialog->reject();
  });
  (void)DirectFilesDownload(nullptr, list.c_str(), 0);
  EXPECT_EQ(captions, (std::vector<std::string>{"Send Designs - USB Connected",
                                                "Send Designs - USB Disconnected"}));
  EXPECT_TRUE(machine.Designs(1).empty());
}

TEST_F(Exports, ClosingTheDialogMidTransferAbortsIt) {
  const std::string list = env.WriteList({env.WriteDesign("BIG.qnf", lptest::Design(20000, 1))});
  PressStartAndWatch();
  bool closed = false;
  Every([&] {
    QDialog* dialog = Shown("sendDesigns");
    if (dialog && !closed && topProgress > 0) {
      closed = true;
      dialog->close();
    }
  });
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 1);
  EXPECT_TRUE(closed);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"Communication is aborted."});
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Sending");
}

TEST_F(Exports, AMachineRefusalShowsItsMessageWithTheActionsCaption) {
  machine.RefuseCommand(4, 64);
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(5, 1))});
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 1);
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].text, "Cannot be registered.");
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Sending");
  EXPECT_TRUE(machine.Designs(1).empty());
}

TEST_F(Exports, ClosingBeforeStartReturnsTwoWithoutATransfer) {
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(5, 1))});
  Every([] {
    if (QDialog* dialog = Shown("sendDesigns")) ClickLater(Child<QPushButton>(dialog, "cancel"));
  });
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 2);
  EXPECT_TRUE(machine.Log().empty());
}

TEST_F(Exports, AStartThatFindsNothingToSendStillEndsWithOneAfterSayingWhy) {
  const std::filesystem::path list = env.root / "Empty.lst";
  EXPECT_FALSE(platform::WriteWholeFile(list, {}));
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 1), 1);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"File Open Error."});
  EXPECT_EQ(machine.Designs(1).size(), 0u);
}

TEST_F(Exports, TheSettingsDialogChoosesThePortAndRateTheNextTransferUses) {
  Every([] {
    QDialog* dialog = Shown("commSettings");
    if (!dialog) return;
    Child<QComboBox>(dialog, "port")->setCurrentIndex(1);
    Child<QRadioButton>(dialog, "rate5")->setChecked(true);
    ClickLater(Child<QPushButton>(dialog, "ok"));
  });
  EXPECT_EQ(SetSerialCommParamDlg(nullptr), 1);
  for (const char* program : {"Brodera", "Pictorel"}) {
    EXPECT_EQ(platform::Profile(program).GetInt("Rs-232c", "COM Port", 0), 2) << program;
    EXPECT_EQ(platform::Profile(program).GetInt("Rs-232c", "Baud Rate", 0), 5) << program;
  }
  steps.clear();
  // Only COM2 reaches the machine now.
  setenv("VELINOR_COM2", machine.DevicePath().c_str(), 1);
  setenv("VELINOR_COM1", (env.root / "no-such-port").c_str(), 1);
  const std::vector<uint8_t> a = lptest::Design(30, 4);
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", a)});
  PressStartAndWatch();
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 0), 1);
  EXPECT_EQ(env.boxes.Count(), 0u);
  ASSERT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(machine.Designs(1)[0].bytes, a);
  EXPECT_FALSE(machine.TimesOf("rate 57600").empty());
}

TEST_F(Exports, VersionQuestionsFollowTheStoredVersion) {
  EXPECT_EQ(GetVersionCode(), -1);
  StoreLink("Protocol Ver", 0);
  EXPECT_EQ(GetVersionCode(), -1);
  StoreLink("Protocol Ver", 2);
  EXPECT_EQ(GetVersionCode(), 2);
  bool dialogSeen = false;
  std::string seenCaption;
  Every([&] {
    QDialog* dialog = Shown("versionDialog");
    if (!dialog) return;
    dialogSeen = true;
    seenCaption = dialog->windowTitle().toStdString();
    ClickLater(Child<QRadioButton>(dialog, "version2"));
    ClickLater(Child<QPushButton>(dialog, "ok"));
  });
  EXPECT_EQ(CheckVersionDlg(nullptr, 0), 1);
  EXPECT_FALSE(dialogSeen);

  StoreLink("Protocol Ver", 1);
  EXPECT_EQ(CheckVersionDlg(nullptr, 0), 1);
  EXPECT_TRUE(dialogSeen);
  EXPECT_EQ(seenCaption, "Confirm Machine's Version");
  EXPECT_EQ(GetVersionCode(), 2);

  steps.clear();
  Every([&] {
    if (QDialog* dialog = Shown("versionDialog")) {
      seenCaption = dialog->windowTitle().toStdString();
      dialog->close();
    }
  });
  EXPECT_EQ(CheckVersionDlg(nullptr, 1), 2);
  EXPECT_EQ(seenCaption, "Select Machine's Version");
  EXPECT_EQ(GetVersionCode(), 2);
}

TEST_F(Exports, ALargeDesignAsksTheVersionOnceBeforeItIsSent) {
  int asked = 0;
  QDialog* last = nullptr;
  Every([&] {
    QDialog* dialog = Shown("versionDialog");
    if (!dialog || dialog == last) return;
    last = dialog;
    ++asked;
    ClickLater(Child<QRadioButton>(dialog, "version2"));
    ClickLater(Child<QPushButton>(dialog, "ok"));
  });
  PressStartAndWatch();
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(5, 1, 40000)),
                                   env.WriteDesign("B.qnf", lptest::Design(5, 2, 50000))});
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 1), 1);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(machine.Designs(1).size(), 2u);
}

// A question the machine's stored program already answers is never put: the version
// dialog is closed here if it shows, and counted.
TEST_F(Exports, WithTheNewerProgramStoredALargeDesignIsSentWithoutAsking) {
  StoreLink("Protocol Ver", 2);
  int asked = 0;
  Every([&] {
    if (QDialog* dialog = Shown("versionDialog")) {
      ++asked;
      dialog->close();
    }
  });
  PressStartAndWatch();
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(5, 1, 40000))});
  EXPECT_EQ(DirectFilesDownload(nullptr, list.c_str(), 1), 1);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(GetVersionCode(), 2);
}

TEST_F(Exports, WithTheNewerProgramStoredThePanelTakesALargeDesignWithoutAsking) {
  StoreLink("Protocol Ver", 2);
  const std::vector<uint8_t> a = lptest::Design(5, 3, 40000);
  const std::string path = env.WriteDesign("Large.qnf", a);
  int asked = 0;
  bool sent = false;
  Every([&] {
    if (QDialog* dialog = Shown("versionDialog")) {
      ++asked;
      dialog->close();
      return;
    }
    QDialog* panel = Shown("sendPanel");
    if (!panel || sent) return;
    if (asked > 0) {
      // Refused by the closed question: nothing can be added; give up.
      panel->reject();
      return;
    }
    auto* picker = Child<QFileDialog>(panel, "picker");
    picker->setDirectory(QString::fromStdString((env.root / "designs").string()));
    picker->selectFile(QString::fromStdString(path));
    ClickLater(Child<QPushButton>(panel, "add"));
    if (Child<QTreeWidget>(panel, "list")->topLevelItemCount() != 1) return;
    sent = true;
    ClickLater(Child<QPushButton>(panel, "send"));
  });
  PressStartAndWatch();
  std::string folder = (env.root / "designs").string();
  folder.resize(260, '\0');
  EXPECT_EQ(TransferQNFFiles(nullptr, folder.data(), static_cast<unsigned>(folder.size())), 1);
  EXPECT_EQ(asked, 0);
  ASSERT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(machine.Designs(1)[0].bytes, a);
}

TEST_F(Exports, DirectDownloadWithoutANameAnnouncesATimeName) {
  std::vector<uint8_t> image = lptest::Design(50, 7);
  PressStartAndWatch();
  EXPECT_EQ(DirectDownload(nullptr, image.data(), static_cast<unsigned>(image.size()), ""), 1);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_TRUE(std::regex_match(stored[0].name, std::regex("[0-9A-Z]{10,13}\\.qnf"))) << stored[0].name;
  EXPECT_EQ(stored[0].bytes, image);
}

TEST_F(Exports, TheNameButtonRenamesADesignFromMemoryAndRefusesForbiddenCharacters) {
  std::vector<uint8_t> image = lptest::Design(12, 3);
  std::vector<std::string> entries = {"bad/name", "Rose.big.txt"};
  QDialog* last = nullptr;
  Every([&] {
    QDialog* nameDialog = Shown("qnfName");
    if (nameDialog && nameDialog != last && !entries.empty()) {
      last = nameDialog;
      Child<QLineEdit>(nameDialog, "name")->setText(QString::fromStdString(entries.front()));
      entries.erase(entries.begin());
      // The first entry is refused and the dialog stays for the second.
      QTimer::singleShot(0, nameDialog, [nameDialog, &last] {
        nameDialog->accept();
        last = nullptr;
      });
      return;
    }
    QDialog* dialog = Shown("sendDesigns");
    if (!dialog || nameDialog || started) return;
    if (!entries.empty()) {
      ClickLater(Child<QPushButton>(dialog, "nameButton"));
      return;
    }
    started = true;
    ClickLater(Child<QPushButton>(dialog, "start"));
  });
  EXPECT_EQ(DirectDownload(nullptr, image.data(), static_cast<unsigned>(image.size()), "First.qnf"), 1);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{
                             "A filename cannot contain any of the following characters:\n \\ / : * ? \" < > |"});
  ASSERT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(machine.Designs(1)[0].name, "Rose.qnf");
}

TEST_F(Exports, TransferQnfFilesNeverWritesPastTheFolderBuffer) {
  const std::filesystem::path deep = env.root / "a-folder-with-a-long-name" / "and-another";
  std::filesystem::create_directories(deep);
  Every([&] {
    QDialog* panel = Shown("sendPanel");
    if (!panel) return;
    Child<QFileDialog>(panel, "picker")->setDirectory(QString::fromStdString(deep.string()));
    panel->reject();
  });
  char buffer[32];
  std::memset(buffer, '#', sizeof buffer);
  buffer[0] = '\0';
  constexpr unsigned kCapacity = 12;
  EXPECT_EQ(TransferQNFFiles(nullptr, buffer, kCapacity), 1);
  EXPECT_EQ(std::string(buffer), deep.string().substr(0, kCapacity - 1));
  for (unsigned i = kCapacity; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
}

TEST_F(Exports, TransferQnfFilesSendsWhatThePanelCollected) {
  const std::vector<uint8_t> a = lptest::Design(40, 3);
  const std::string path = env.WriteDesign("Panel.qnf", a);
  bool sent = false;
  Every([&] {
    QDialog* panel = Shown("sendPanel");
    if (!panel || sent) return;
    auto* picker = Child<QFileDialog>(panel, "picker");
    picker->setDirectory(QString::fromStdString((env.root / "designs").string()));
    picker->selectFile(QString::fromStdString(path));
    ClickLater(Child<QPushButton>(panel, "add"));
    if (Child<QTreeWidget>(panel, "list")->topLevelItemCount() != 1) return;
    Child<QRadioButton>(panel, "ataCard")->setChecked(true);
    sent = true;
    ClickLater(Child<QPushButton>(panel, "send"));
  });
  PressStartAndWatch();
  std::string folder = (env.root / "designs").string();
  folder.resize(260, '\0');
  EXPECT_EQ(TransferQNFFiles(nullptr, folder.data(), static_cast<unsigned>(folder.size())), 1);
  EXPECT_TRUE(sent);
  ASSERT_EQ(machine.Designs(2).size(), 1u);
  EXPECT_EQ(machine.Designs(2)[0].bytes, a);
  EXPECT_EQ(std::string(folder.c_str()), (env.root / "designs").string());
}

// Every dialog of the exports opens centred on the screen and wide enough for its caption in
// a title bar: the bold caption beside an icon and three buttons of at least 16 pixels each.
// The owner window sits in the screen's top-left corner, where Qt would put a dialog over
// it: only the dialogs' own centring brings them to the middle of the screen.
TEST_F(Exports, EveryDialogOpensCentredAndWideEnoughForItsCaption) {
  QWidget owner;
  owner.setGeometry(0, 0, 320, 200);
  owner.show();
  ASSERT_GT((owner.frameGeometry().center() - owner.screen()->availableGeometry().center()).manhattanLength(), 100);
  LinkWindow handle = &owner;
  std::map<std::string, QRect> opened;
  bool named = false;
  Every([&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(widget);
      if (!dialog || !dialog->isVisible() || opened.count(dialog->objectName().toStdString())) continue;
      opened[dialog->objectName().toStdString()] = dialog->frameGeometry();
      QFont bold = dialog->font();
      bold.setBold(true);
      const QString caption = dialog->windowTitle();
      EXPECT_GE(dialog->width(), QFontMetrics(bold).horizontalAdvance(caption) + 4 * 16) << caption.toStdString();
      const QPoint middle = dialog->screen()->availableGeometry().center();
      EXPECT_LE((dialog->frameGeometry().center() - middle).manhattanLength(), 2) << caption.toStdString();
    }
    QDialog* active = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    // A list being fetched ends by itself.
    if (!active || active->objectName() == "fetchDialog") return;
    // The direct send's Name dialog opens from its button once.
    if (active->objectName() == "sendDesigns" && !named && !Child<QPushButton>(active, "nameButton")->isHidden()) {
      named = true;
      ClickLater(Child<QPushButton>(active, "nameButton"));
      return;
    }
    QTimer::singleShot(0, active, [active] { active->reject(); });
  });
  const std::string list = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(5, 1))});
  std::vector<uint8_t> image = lptest::Design(12, 3);
  char folder[260] = "";
  DirectFilesDownload(handle, list.c_str(), 0);
  DirectDownload(handle, image.data(), static_cast<unsigned>(image.size()), "First.qnf");
  UploadData(handle);
  DeleteData(handle);
  SetSerialCommParamDlg(handle);
  CheckVersionDlg(handle, 1);
  TransferQNFFiles(handle, folder, sizeof folder);
  std::vector<std::string> names;
  for (const auto& [name, where] : opened) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"commSettings", "deleteDesigns", "fetchDialog", "qnfName",
                                             "receiveDesigns", "sendDesigns", "sendPanel", "versionDialog"}));
}

}  // namespace
