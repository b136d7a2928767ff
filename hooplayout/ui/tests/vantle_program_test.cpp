// Vantle as a whole program, offscreen: the frame's menus, toolbar and panes, the help pane,
// start-up with and without a layout, and one sitting end to end: two designs imported and
// a lettering added, the layout saved and reopened, both hoop positions printed to PDF and
// sent to the simulated machine on a pseudo-terminal.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "design/ui/pat_list.h"
#include "hooplayout/ui/vantle_application.h"
#include "hooplayout/ui/vantle_monogram_dialog.h"
#include "hooplayout/ui/vantle_print_job.h"
#include "hooplayout/vantle_command_ids.h"
#include "link/panel/linkpanel.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/machine/machine_simulator.h"
#include "testing/file_size_limit.h"
#include "testing/monogram_font_builder.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_shapes.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = hooplayout::cmd;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

QDialog* Shown(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) return qobject_cast<QDialog*>(widget);
  }
  return nullptr;
}

int PdfPages(const std::string& pdf) {
  int pages = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  return pages;
}

class VantleProgram : public ::testing::Test {
 protected:
  VantleProgram() {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    fs::create_directories(dir / "install");
    const Bytes hook = vtest::StitchStreamBuilder().Stitch(20, 0).Stitch(0, 20).End().Bytes();
    vtest::MonogramFontBuilder().Glyph('A', hook).Glyph('B', hook).WriteTo(dir / "install" / "Block.mnf");
    app = MakeApp();
  }
  ~VantleProgram() override {
    app.reset();
    unsetenv("XDG_DATA_HOME");
    platform::SetProfileRoot({});
  }

  std::unique_ptr<hooplayout_ui::VantleApplication> MakeApp() {
    auto made = std::make_unique<hooplayout_ui::VantleApplication>((dir / "install").string() + "/");
    made->ScrollView().SetImportRunner([this](design_ui::CPatList& dialog) -> std::optional<std::string> {
      if (!dialog.Model().OnFileNameOK(importPath)) return std::nullopt;
      return importPath;
    });
    made->ScrollView().SetFileChoosers(
        [this](const std::string&, const std::string&) { return std::optional<std::string>(layoutPath); },
        [this](const std::string&, const std::string&) { return std::optional<std::string>(layoutPath); });
    return made;
  }

  std::string WriteDesign(const std::string& name, int width, int height, std::vector<int32_t> codes) {
    vtest::QnfFileSpec spec;
    spec.threadCodes = codes;
    spec.stitches = vtest::RectangleStitches(width, height, static_cast<int>(codes.size()));
    const fs::path path = dir / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, vtest::BuildQnfFile(spec)));
    return path.string();
  }

  // A press, a move and a release of the left button on the layout view, in logical pixels.
  void Drag(QPoint from, QPoint to) {
    QWidget* viewport = app->ScrollView().viewport();
    const auto send = [viewport](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
      QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                        Qt::NoModifier);
      QApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  }

  QPoint CurrentCentre() {
    const auto& d = app->View().Current();
    return {hooplayout::kViewMargin + d.centreX, hooplayout::kViewMargin + d.centreY};
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::string importPath;
  std::string layoutPath;
  std::unique_ptr<hooplayout_ui::VantleApplication> app;
};

TEST_F(VantleProgram, TheFirstFrameFitsTheScreenAndCarriesItsMenusTwentyToolbarPlacesAndItsPanes) {
  ASSERT_TRUE(app->Start({false, {}}));
  hooplayout_ui::CMainFrame& frame = app->Frame();
  // The test screen is 800 pixels wide: the size for such a screen, wholly on it.
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_EQ(screen->geometry().width(), 800);
  EXPECT_EQ(frame.size(), QSize(790, 550));
  EXPECT_TRUE(screen->availableGeometry().contains(frame.frameGeometry()));
  QStringList titles;
  for (QAction* menu : frame.menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Halvora", "&ATA Card", "&View", "&Help"}));
  EXPECT_EQ(frame.windowTitle(), "Untitled.arg - Tessaly");
  EXPECT_EQ(frame.Action(cmd::kCardManager)->shortcut(), QKeySequence("Ctrl+U"));
  EXPECT_EQ(frame.Action(cmd::kMonogram)->shortcut(), QKeySequence("Ctrl+M"));
  EXPECT_EQ(frame.Action(cmd::kAppAbout)->text(), "&About Tessaly...");
  QMenu* templateMode = nullptr;
  for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
    if (menu->title() == "&Template Mode") templateMode = menu;
  }
  ASSERT_NE(templateMode, nullptr);
  EXPECT_EQ(templateMode->actions().size(), 3);

  auto* bar = frame.findChild<QToolBar*>("toolbar");
  ASSERT_NE(bar, nullptr);
  const QList<QAction*> places = bar->actions();
  ASSERT_EQ(places.size(), 20);
  for (int i = 0; i < places.size(); ++i) {
    const bool separator = i == 3 || i == 8 || i == 13 || i == 18;
    EXPECT_EQ(places[i]->isSeparator(), separator) << i;
    if (!separator) EXPECT_FALSE(places[i]->icon().isNull()) << i;
  }
  const auto popup = [&](int place) {
    QStringList texts;
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(places[place]));
    if (button && button->menu()) {
      for (QAction* item : button->menu()->actions()) texts << item->text();
    }
    return texts;
  };
  EXPECT_EQ(popup(9), (QStringList{"90 degrees", "180 degrees", "270 degrees"}));
  EXPECT_EQ(popup(19), (QStringList{"50%", "75%", "100%", "200%", "400%", "600%", "800%"}));
  frame.UpdateCommandUi();
  EXPECT_EQ(frame.Pane(cmd::kPaneZoom)->text(), " 100 % ");
  EXPECT_EQ(frame.Pane(cmd::kPaneTemplate)->text(), " Outline Template");
  EXPECT_FALSE(frame.Action(cmd::kFileSave)->isEnabled());
  EXPECT_TRUE(frame.Action(cmd::kImportDesign)->isEnabled());

  // "Ready" comes back whenever a passing message (a menu prompt) clears.
  auto* idle = frame.findChild<QLabel*>("idleMessage");
  ASSERT_NE(idle, nullptr);
  EXPECT_EQ(idle->text(), "Ready");
  frame.statusBar()->showMessage("Opens an existing layout");
  EXPECT_TRUE(idle->isHidden());
  frame.statusBar()->clearMessage();
  EXPECT_FALSE(idle->isHidden());
}

TEST_F(VantleProgram, ClickingTheHelpPaneLeavesTheKeyboardWithTheLayoutView) {
  ASSERT_TRUE(app->Start({false, {}}));
  hooplayout_ui::CMainFrame& frame = app->Frame();
  EXPECT_EQ(frame.Splitter().widget(0), &app->ScrollView());
  EXPECT_EQ(frame.Splitter().widget(1), &app->HelpView());
  app->HelpView().setFocus();
  ASSERT_EQ(frame.focusWidget(), &app->HelpView());
  QWidget* help = app->HelpView().viewport();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 100), help->mapToGlobal(QPointF(300, 100)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(help, &press);
  EXPECT_EQ(frame.focusWidget(), &app->ScrollView());
}

TEST_F(VantleProgram, ALayoutThatCannotBeReadEndsTheProgramBeforeItsWindowShows) {
  EXPECT_FALSE(app->Start({false, (dir / "missing.arg").string()}));
  EXPECT_FALSE(app->Frame().isVisible());
}

TEST_F(VantleProgram, ASavePastTheFileSizeLimitIsAWriteErrorAndTheProgramRunsOn) {
  ASSERT_TRUE(app->Start({false, {}}));
  importPath = WriteDesign("rose.qnf", 200, 100, {5, 9});
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kImportDesign));
  layoutPath = (dir / "Garden.arg").string();
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSave));
  Bytes saved;
  ASSERT_FALSE(platform::ReadWholeFile(layoutPath, saved));
  importPath = WriteDesign("leaf.qnf", 160, 120, {3});
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kImportDesign));
  {
    // The layout has grown past what the process may write; the signal is the program's.
    vtest::FileSizeLimit limit(saved.size(), false);
    ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSave));
  }
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  Bytes after;
  ASSERT_FALSE(platform::ReadWholeFile(layoutPath, after));
  EXPECT_EQ(after, saved);
  EXPECT_TRUE(app->Document().IsModified());
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

TEST_F(VantleProgram, ARecentLayoutThatCannotBeReadAfterNoKeepsTheLayoutChanged) {
  ASSERT_TRUE(app->Start({false, {}}));
  importPath = WriteDesign("rose.qnf", 200, 100, {5, 9});
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kImportDesign));
  const fs::path damaged = dir / "Damaged.arg";
  ASSERT_FALSE(platform::WriteWholeFile(damaged, Bytes{'n', 'o', 't', ' ', 'a', 'r', 'g'}));

  box.Script({platform::kIdNo});
  app->OpenRecent(damaged.string());
  QApplication::processEvents();  // the failed read is told once the command has finished
  ASSERT_EQ(box.Count(), 2u);  // the save question, then the damaged file
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
  EXPECT_TRUE(app->Document().IsModified());

  // The next New asks again instead of discarding the design.
  box.Script({platform::kIdCancel});
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileNew));
  ASSERT_EQ(box.Count(), 3u);
  EXPECT_EQ(box.Shown()[2].text, "Save changes to Untitled.arg?");
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
}

TEST_F(VantleProgram, ImportLetterSaveReopenPrintAndSendBothPositions) {
  vtest::MachineSimulator machine;
  setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
  machine.Start();
  ASSERT_TRUE(app->Start({false, {}}));
  hooplayout_ui::CMainFrame& frame = app->Frame();

  // The first design is dragged from sewing space B into sewing space A.
  importPath = WriteDesign("rose.qnf", 200, 100, {5, 9});
  ASSERT_TRUE(frame.Dispatch(cmd::kImportDesign));
  const QPoint centre = CurrentCentre();
  Drag(centre, centre + QPoint(180, 0));
  EXPECT_GE(app->View().Current().startX, 180 + 10);
  importPath = WriteDesign("leaf.qnf", 160, 120, {3});
  ASSERT_TRUE(frame.Dispatch(cmd::kImportDesign));

  app->ScrollView().SetMonogramRunner([this](hooplayout_ui::CVantleMonogramDlg& dialog) {
    dialog.Edit()->setText("AB");
    dialog.RegisterButton()->click();
    box.Script({platform::kIdNo});  // not saved as a file of its own
    dialog.open();
    dialog.OkButton()->click();
    return dialog.result();
  });
  ASSERT_TRUE(frame.Dispatch(cmd::kMonogram));
  ASSERT_EQ(app->Document().GetDesignCount(), 3);
  EXPECT_TRUE(app->View().Current().monogram.IsLettering());

  // The selected lettering opens again with its own text and is made anew in its place.
  std::string primed;
  app->ScrollView().SetMonogramRunner([&](hooplayout_ui::CVantleMonogramDlg& dialog) {
    primed = dialog.Edit()->text().toStdString();
    dialog.DeleteAllButton()->click();
    dialog.Edit()->setText("BA");
    dialog.RegisterButton()->click();
    box.Script({platform::kIdNo});
    dialog.open();
    dialog.OkButton()->click();
    return dialog.result();
  });
  ASSERT_TRUE(frame.Dispatch(cmd::kMonogram));
  EXPECT_EQ(primed, "AB");
  EXPECT_EQ(app->Document().GetDesignCount(), 3);
  EXPECT_EQ(app->View().Current().monogram.Text(), "BA");
  EXPECT_EQ(app->View().LastOperation(), hooplayout::LayoutOperationKind::kMonogramAgain);

  layoutPath = (dir / "Garden.arg").string();
  ASSERT_TRUE(frame.Dispatch(cmd::kFileSave));
  ASSERT_TRUE(fs::exists(layoutPath));

  // Reopened in a fresh program from its command line.
  app.reset();
  app = MakeApp();
  ASSERT_TRUE(app->Start({false, layoutPath}));
  hooplayout_ui::CMainFrame& reopened = app->Frame();
  EXPECT_EQ(reopened.windowTitle(), "Garden.arg - Tessaly");
  ASSERT_EQ(app->Document().GetDesignCount(), 3);
  std::vector<std::string> names;
  for (const auto& d : app->Document().GetDesignList()) names.push_back(fs::path(d.name).filename().string());
  EXPECT_NE(std::find(names.begin(), names.end(), "rose.qnf"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "leaf.qnf"), names.end());

  // Both templates, in the outline and in the colour mode, reach the printer as two pages.
  int printed = 0;
  app->SetPrintRunner([&](bool) {
    const std::string path = (dir / ("t" + std::to_string(printed++) + ".pdf")).string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    hooplayout_ui::PrintVantleTemplates(printer, app->TemplatePrinter(), app->Document(), false);
  });
  reopened.UpdateCommandUi();
  ASSERT_TRUE(reopened.Action(cmd::kFilePrint)->isEnabled());
  ASSERT_TRUE(reopened.Dispatch(cmd::kFilePrint));
  ASSERT_TRUE(reopened.Dispatch(cmd::kColourTemplate));
  EXPECT_EQ(app->TemplatePrinter().ColourFlag(), 1);
  ASSERT_TRUE(reopened.Dispatch(cmd::kFilePrint));
  ASSERT_EQ(printed, 2);
  for (int i = 0; i < printed; ++i) {
    Bytes bytes;
    ASSERT_FALSE(platform::ReadWholeFile(dir / ("t" + std::to_string(i) + ".pdf"), bytes, 1 << 24));
    EXPECT_EQ(PdfPages(std::string(bytes.begin(), bytes.end())), 2) << i;
  }
  EXPECT_EQ(app->Document().GetPrintListA().size(), 1u);
  EXPECT_EQ(app->Document().GetPrintListB().size(), 2u);

  // Send Designs: the position files named in the send list, read while Linkpanel's dialog
  // shows, reach the machine byte for byte.
  std::vector<Bytes> written;
  bool started = false;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    QDialog* dialog = Shown("sendDesigns");
    if (!dialog || started) return;
    started = true;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "data")) {
      if (entry.path().extension() != ".lst") continue;
      std::vector<std::string> listed;
      EXPECT_FALSE(transfer::ReadTransferListFile(entry.path(), listed));
      for (const std::string& file : listed) {
        Bytes bytes;
        EXPECT_FALSE(platform::ReadWholeFile(file, bytes, 1 << 22));
        written.push_back(bytes);
      }
    }
    auto* start = dialog->findChild<QPushButton*>("start");
    QTimer::singleShot(0, start, [start] { start->click(); });
  });
  ticker.start(5);
  reopened.UpdateCommandUi();
  ASSERT_TRUE(reopened.Action(cmd::kSendDesigns)->isEnabled());
  ASSERT_TRUE(reopened.Dispatch(cmd::kSendDesigns));
  ticker.stop();
  machine.Stop();
  unsetenv("VELINOR_COM1");
  EXPECT_TRUE(started);
  ASSERT_EQ(written.size(), 2u);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].bytes, written[0]);
  EXPECT_EQ(stored[1].bytes, written[1]);
  EXPECT_EQ(GetTransferStatus(), 0);
  for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
}

}  // namespace
