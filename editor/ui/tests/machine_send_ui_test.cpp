// The machine and card commands in the running program: the frame's menus, toolbar and
// panes, and Send Designs end to end, through Linkpanel's real send dialog to the
// simulated machine on a pseudo-terminal.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "design/qnf_reader.h"
#include "design/ui/card_write_dlg.h"
#include "editor/command_ids.h"
#include "editor/send_designs.h"
#include "editor/tests/send_fixture.h"
#include "editor/ui/brodera_application.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/profile.h"
#include "testing/fake_card.h"
#include "testing/machine/machine_simulator.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = editor::cmd;
namespace fs = std::filesystem;

QDialog* ShownDialog(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) return qobject_cast<QDialog*>(widget);
  }
  return nullptr;
}

class MachineSendUi : public ::testing::Test {
 protected:
  MachineSendUi() {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    app = std::make_unique<editor_ui::BroderaApplication>((dir / "install").string() + "/",
                                                          (dir / "work").string() + "/");
  }
  ~MachineSendUi() override {
    app.reset();
    unsetenv("XDG_DATA_HOME");
    platform::SetProfileRoot({});
  }

  std::vector<std::string> FilesUnder(const fs::path& folder) const {
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
      if (it->is_regular_file()) files.push_back(it->path().string());
    }
    return files;
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::unique_ptr<editor_ui::BroderaApplication> app;
};

TEST_F(MachineSendUi, TheFrameCarriesTheMachineMenusTheFullToolbarAndSixPanes) {
  editor_ui::CMainFrame& frame = app->Frame();
  QStringList titles;
  for (QAction* menu : frame.menuBar()->actions()) titles << menu->text();
  EXPECT_TRUE(titles.contains("&Halvora"));
  EXPECT_TRUE(titles.contains("&ATA Card"));
  ASSERT_NE(frame.Action(cmd::kSendDesigns), nullptr);
  EXPECT_EQ(frame.Action(cmd::kSendDesigns)->shortcut(), QKeySequence("Ctrl+W"));
  EXPECT_EQ(frame.Action(cmd::kWriteDesigns)->shortcut(), QKeySequence("Ctrl+Q"));
  EXPECT_EQ(frame.Action(cmd::kCardManager)->text(), "Write Design&s, Read and  Erase...");

  frame.UpdateCommandUi();
  EXPECT_FALSE(frame.Action(cmd::kSendDesigns)->isEnabled());  // an empty layout
  EXPECT_TRUE(frame.Action(cmd::kReceiveDesigns)->isEnabled());
  app->Document().AddDesign(edtest::MarkedDesign(1));
  frame.UpdateCommandUi();
  EXPECT_TRUE(frame.Action(cmd::kSendDesigns)->isEnabled());
  EXPECT_TRUE(frame.Action(cmd::kWriteDesigns)->isEnabled());

  auto* bar = frame.findChild<QToolBar*>("toolbar");
  ASSERT_NE(bar, nullptr);
  const QList<QAction*> buttons = bar->actions();
  ASSERT_EQ(buttons.size(), 21);
  for (int separator : {3, 8, 13, 19}) EXPECT_TRUE(buttons[separator]->isSeparator()) << separator;
  const auto popupTexts = [&](int position) {
    QStringList texts;
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(buttons[position]));
    if (button && button->menu()) {
      for (QAction* item : button->menu()->actions()) texts << item->text();
    }
    return texts;
  };
  EXPECT_EQ(popupTexts(9), (QStringList{"90 degrees", "180 degrees", "270 degrees"}));
  EXPECT_EQ(popupTexts(20), (QStringList{"50%", "75%", "100%", "200%", "400%", "600%", "800%"}));
  for (int pane : {cmd::kPaneHoop, cmd::kPaneSheets, cmd::kPaneZoom, cmd::kPaneMode, cmd::kPaneTemplate}) {
    EXPECT_NE(frame.Pane(pane), nullptr) << pane;
  }
}

TEST_F(MachineSendUi, SendDesignsPutsTheLayoutOnTheMachineAndLeavesNoFileBehind) {
  vtest::MachineSimulator machine;
  setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
  machine.Start();
  platform::Profile("Pictorel").WriteInt("Rs-232c", "Protocol Ver", 2);
  platform::Profile("Brodera").WriteInt("Project", "Name", 'd');
  app->Document().SetPathName((dir / "Rose.bdz").string());
  app->Document().AddDesign(edtest::MarkedDesign(30));
  app->Document().AddDesign(edtest::MarkedDesign(20, 400));
  app->Document().AddDesign(edtest::MarkedDesign(10));  // on top

  bool started = false;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    QDialog* dialog = ShownDialog("sendDesigns");
    if (!dialog || started) return;
    started = true;
    auto* start = dialog->findChild<QPushButton*>("start");
    QTimer::singleShot(0, start, [start] { start->click(); });
  });
  ticker.start(5);
  app->Frame().UpdateCommandUi();
  EXPECT_TRUE(app->Frame().Dispatch(cmd::kSendDesigns));
  ticker.stop();
  machine.Stop();
  unsetenv("VELINOR_COM1");

  EXPECT_TRUE(started);
  EXPECT_EQ(box.Count(), 0u);
  for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 3u);
  design::StitchRecord record;
  const int marks[] = {30, 20, 10};  // the bottom design goes first
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(stored[k].name, editor::TempDesignFileName("Rose", k + 1, 'e'));
    ASSERT_EQ(design::ReadQnf(stored[k].bytes, record), design::QnfReadStatus::kOk) << k;
    EXPECT_EQ(record.Stitches()[0], marks[k]);
    EXPECT_EQ(record.BatchNumber(), k + 1);
    EXPECT_EQ(record.BatchLetter(), 'e');
  }
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Project", "Name", 0), 'e');
  EXPECT_EQ(FilesUnder(dir / "work"), std::vector<std::string>{});
  EXPECT_EQ(FilesUnder(dir / "data"), std::vector<std::string>{});
}

}  // namespace

namespace {

class CardWriteUi : public MachineSendUi {
 protected:
  CardWriteUi() {
    platform::Profile("Pictorel").WriteInt("Rs-232c", "Protocol Ver", 2);
    fs::create_directories(dir / "work");
    doc.AddDesign(edtest::MarkedDesign(2));
    doc.AddDesign(edtest::MarkedDesign(1));
    doc.SetPathName((dir / "Rose.bdz").string());
    platform::Profile("Brodera").WriteInt("Project", "Name", 'd');
  }

  // Works the card writer once it shows: Write, or Cancel.
  void AnswerCardWriter(bool write) {
    QTimer::singleShot(20, [write] {
      auto* dialog = dynamic_cast<design_ui::CCardWriteDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      if (write) {
        dialog->WriteButton()->click();
      } else {
        dialog->reject();
      }
    });
  }

  edtest::FakeDocumentHost host;
  editor::CBroderaDoc doc{host};
  vtest::FakeCardVolumes volumes;
  fs::path card = volumes.Add();
  editor_ui::LinkpanelMachineLink link{nullptr, &volumes};
  editor::CMachineCommands commands{doc, link, (dir / "work").string(), (dir / "install").string(), {}};
};

TEST_F(CardWriteUi, WriteDesignsPutsTheBatchOnTheCardAndUsesUpTheLetter) {
  AnswerCardWriter(true);
  commands.RunCommand(cmd::kWriteDesigns);
  design::StitchRecord record;
  EXPECT_EQ(edtest::MarkOfFile(card / "PC_Link" / "Rose01#e.qnf", record), 2);
  EXPECT_EQ(edtest::MarkOfFile(card / "PC_Link" / "Rose02#e.qnf", record), 1);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Project", "Name", 0), 'e');
  EXPECT_EQ(FilesUnder(dir / "work"), std::vector<std::string>{});
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(CardWriteUi, ACancelledCardWriteKeepsTheLetter) {
  AnswerCardWriter(false);
  commands.RunCommand(cmd::kWriteDesigns);
  EXPECT_FALSE(fs::exists(card / "PC_Link"));
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Project", "Name", 0), 'd');
  EXPECT_EQ(FilesUnder(dir / "work"), std::vector<std::string>{});
}

}  // namespace
