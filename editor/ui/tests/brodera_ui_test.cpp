// Brodera's wiring on the offscreen platform: start, a new layout, commands through the
// router, importing through the import dialog's model, saving, reopening, dropped files and
// the layout painted into an image. The rules are tested on the plain classes.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QSysInfo>
#include <QUrl>
#include <functional>
#include <QStatusBar>
#include <QToolBar>

#include "design/thread_colors.h"
#include "design/ui/pat_list.h"
#include "editor/command_ids.h"
#include "layoutcore/ui/about_box.h"
#include "editor/ui/brodera_application.h"
#include "layoutcore/stitch_extents.h"
#include "layoutcore/ui/monogram_dialog.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "platform/ui/qt_canvas.h"
#include "testing/file_size_limit.h"
#include "testing/monogram_font_builder.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_shapes.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = editor::cmd;

class BroderaUi : public ::testing::Test {
 protected:
  BroderaUi() {
    platform::SetProfileRoot(dir.Path() / "config");
    Make();
  }
  ~BroderaUi() override { platform::SetProfileRoot({}); }

  void Make() {
    app.reset();
    app = std::make_unique<editor_ui::BroderaApplication>((dir / "install").string() + "/",
                                                          (dir / "work").string() + "/");
    app->SetFileChoosers([this](const std::string&, const std::string&) { return saveAs; },
                         [this](const std::string&) { return openPath; });
    app->ScrollView().SetImportRunner([this](design_ui::CPatList& dialog) -> std::optional<std::string> {
      if (!dialog.Model().OnFileNameOK(importPath)) return std::nullopt;
      return importPath;
    });
  }

  // A QNF design: a w x h rectangle in the given thread colours.
  std::string Design(const std::string& name, int w, int h, std::vector<int32_t> codes) {
    vtest::QnfFileSpec spec;
    spec.threadCodes = codes;
    spec.stitches = vtest::RectangleStitches(w, h, static_cast<int>(codes.size()));
    EXPECT_FALSE(platform::WriteWholeFile(dir / name, vtest::BuildQnfFile(spec)));
    return (dir / name).string();
  }

  void Import(const std::string& path) {
    importPath = path;
    ASSERT_TRUE(app->Frame().Dispatch(cmd::kImportDesign));
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::unique_ptr<editor_ui::BroderaApplication> app;
  std::optional<std::string> saveAs;
  std::optional<std::string> openPath;
  std::string importPath;
};

TEST_F(BroderaUi, StartsANewLayoutWithTheUpdateRulesOnItsMenus) {
  app->Start({});
  EXPECT_TRUE(app->Frame().isVisible());
  EXPECT_EQ(app->Frame().windowTitle(), "Untitled - Brodera");
  EXPECT_FALSE(app->Frame().Action(cmd::kFileSave)->isEnabled());
  EXPECT_FALSE(app->Frame().Action(cmd::kEditUndo)->isEnabled());
  EXPECT_TRUE(app->Frame().Action(cmd::kLargeHoop)->isChecked());
  EXPECT_EQ(app->Frame().Pane(cmd::kPaneZoom)->text(), "100 %");
  EXPECT_EQ(app->Frame().Pane(cmd::kPaneSheets)->text(), "Sheet  1 x 1");
  app->Frame().Action(cmd::kZoomIn)->trigger();  // a menu action goes through the router
  EXPECT_EQ(app->View().Zoom(), 200);
  EXPECT_EQ(app->Frame().Pane(cmd::kPaneZoom)->text(), "200 %");
  EXPECT_TRUE(app->Frame().Dispatch(cmd::kFileNew));
  EXPECT_EQ(app->View().Zoom(), 100);
}

TEST_F(BroderaUi, MonogramPlacesALetteringAndEditsItAgain) {
  std::filesystem::create_directories(dir / "install");
  const auto hook = vtest::StitchStreamBuilder().Stitch(0, 0).Stitch(10, 0).Stitch(0, 10).End().Bytes();
  vtest::MonogramFontBuilder().Glyph('A', hook).Glyph('B', hook).WriteTo(dir / "install" / "Block.mnf");
  app->Start({});
  std::string seenText;
  app->ScrollView().SetMonogramRunner([&](editor_ui::CMonogramDlg& dialog) {
    seenText = dialog.Edit()->text().toStdString();
    dialog.Edit()->setText(seenText.empty() ? "AB" : "BA");
    dialog.RegisterButton()->click();
    box.Script({platform::kIdNo});
    dialog.open();
    dialog.OkButton()->click();
    return dialog.result();
  });
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kMonogram));
  ASSERT_EQ(app->Document().GetDesignList().size(), 1u);
  const editor::DesignObject& placed = app->Document().GetDesignList().front();
  EXPECT_EQ(placed.name, "Mono0001");
  EXPECT_EQ(placed.monogram.Text(), "AB");
  EXPECT_GT(placed.working->PairCount(), 0);

  // The placed lettering is selected: the command edits it again with its own text.
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kMonogram));
  EXPECT_EQ(seenText, "AB");
  ASSERT_EQ(app->Document().GetDesignList().size(), 1u);
  EXPECT_EQ(app->Document().GetDesignList().front().monogram.Text(), "BA");
  EXPECT_EQ(app->Document().GetDesignList().front().name, "Mono0001");
}

TEST_F(BroderaUi, ImportSaveAndReopenGiveTheSameLayout) {
  app->Start({});
  Import(Design("rose.qnf", 200, 100, {20, 30}));
  Import(Design("leaf.qnf", 300, 300, {40}));
  ASSERT_EQ(app->Document().GetDesignCount(), 2);
  app->Frame().Dispatch(cmd::kRotate90);
  EXPECT_TRUE(app->Frame().Action(cmd::kFileSave)->isEnabled());
  saveAs = (dir / "layout").string();
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSave));
  const std::string saved = (dir / "layout.bdz").string();
  EXPECT_EQ(app->Document().GetPathName(), saved);
  EXPECT_FALSE(app->Document().IsModified());
  EXPECT_EQ(app->Frame().windowTitle(), "layout.bdz - Brodera");
  EXPECT_TRUE(app->Frame().Action(cmd::kFileMru1)->isVisible());

  std::vector<editor::DesignObject> before(app->Document().GetDesignList().begin(),
                                           app->Document().GetDesignList().end());
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileNew));
  EXPECT_EQ(app->Document().GetDesignCount(), 0);
  openPath = saved;
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileOpen));
  const auto& after = app->Document().GetDesignList();
  ASSERT_EQ(after.size(), before.size());
  auto it = after.begin();
  for (const auto& d : before) {
    EXPECT_EQ(it->name, d.name);
    EXPECT_EQ(it->centreX, d.centreX);
    EXPECT_EQ(it->rotation, d.rotation);
    EXPECT_EQ(it->extents, d.extents);
    EXPECT_EQ(it->working->PairCount(), d.working->PairCount());
    EXPECT_EQ(0, std::memcmp(it->working->Stitches(), d.working->Stitches(), 2 * d.working->PairCount()));
    ++it;
  }
  EXPECT_EQ(after.front().rotation, 90);
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(BroderaUi, ADesignLargerThanEveryHoopIsNotPlacedWhateverItsFileClaims) {
  app->Start({});
  vtest::QnfFileSpec understated;  // sews 160 mm x 30 mm, claims 25 mm square
  for (int32_t& e : understated.extents) e = 125;
  understated.stitches = vtest::RectangleStitches(1600, 300);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "wide.qnf", vtest::BuildQnfFile(understated)));
  const auto line = vtest::RectangleStitches(20000, 0);  // two metres there and back
  ASSERT_FALSE(platform::WriteWholeFile(dir / "line.sew", vtest::BuildSewFile({{7}, line, {}})));
  Import((dir / "wide.qnf").string());
  Import((dir / "line.sew").string());
  EXPECT_TRUE(app->Document().GetDesignList().empty());
  ASSERT_EQ(box.Count(), 2u);
  for (const auto& shown : box.Shown()) {
    EXPECT_EQ(shown.text, "The stitch exceed the hoop size limits.");
    EXPECT_EQ(shown.caption, "Import Design");
  }
  // As large as the large hoop still goes in.
  Import(Design("fits.qnf", 1400, 2000, {5}));
  EXPECT_EQ(app->Document().GetDesignList().size(), 1u);
  EXPECT_EQ(box.Count(), 2u);
}

TEST_F(BroderaUi, ASavePastTheFileSizeLimitIsAWriteErrorAndTheProgramRunsOn) {
  app->Start({});
  Import(Design("rose.qnf", 200, 100, {20, 30}));
  saveAs = (dir / "layout").string();
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSave));
  std::vector<uint8_t> saved;
  ASSERT_FALSE(platform::ReadWholeFile(dir / "layout.bdz", saved));
  Import(Design("leaf.qnf", 300, 300, {40}));
  {
    // The layout has grown past what the process may write; the signal is the program's.
    vtest::FileSizeLimit limit(saved.size(), false);
    ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSave));
  }
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  std::vector<uint8_t> after;
  ASSERT_FALSE(platform::ReadWholeFile(dir / "layout.bdz", after));
  EXPECT_EQ(after, saved);
  EXPECT_TRUE(app->Document().IsModified());
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

TEST_F(BroderaUi, CommandLineAndDroppedFilesOpenLayouts) {
  app->Start({});
  Import(Design("rose.qnf", 200, 100, {20}));
  saveAs = (dir / "a.bdz").string();
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileSaveAs));
  ASSERT_TRUE(std::filesystem::exists(dir / "a.bdz"));
  Make();
  app->Start({true, (dir / "a.bdz").string()});
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
  EXPECT_EQ(app->Document().GetTitle(), "a.bdz");

  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileNew));
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "a.bdz").string()))});
  EXPECT_TRUE(app->Frame().acceptDrops());
  EXPECT_TRUE(app->Frame().DropFiles(mime));
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
}

// "No" to saving lets the open go on; an open that then fails leaves the changed layout on
// screen, and it is still the user's: the next New asks again.
TEST_F(BroderaUi, AFailedOpenAfterNoKeepsTheLayoutChanged) {
  app->Start({});
  const std::string rose = Design("rose.qnf", 200, 100, {20});
  Import(rose);
  const std::vector<uint8_t> bad{'C', 'o', 'r', 'v', 'a', 'n', ' ', 'b', 'd', 'z', 1};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "bad.bdz", bad));
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "bad.bdz").string()))});
  const std::vector<std::function<void()>> opens{
      [&] { openPath = (dir / "bad.bdz").string(); app->Frame().Dispatch(cmd::kFileOpen); },
      [&] { openPath = rose; app->Frame().Dispatch(cmd::kFileOpen); },
      [&] { app->Frame().DropFiles(dropped); }};
  for (const auto& open : opens) {
    box.Clear();
    box.Script({platform::kIdNo});
    open();
    QApplication::processEvents();  // the failure is said once the command has ended
    ASSERT_EQ(box.Count(), 2u);
    EXPECT_EQ(box.Shown()[0].text, "Save changes to Untitled.bdz?");
    EXPECT_EQ(app->Document().GetDesignCount(), 1);
    EXPECT_TRUE(app->Document().IsModified());
  }
  box.Clear();
  box.Script({platform::kIdCancel});
  ASSERT_TRUE(app->Frame().Dispatch(cmd::kFileNew));
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Save changes to Untitled.bdz?");
  EXPECT_EQ(app->Document().GetDesignCount(), 1);
}

// A dropped file that is no layout by its name is told so as the Open command tells it.
TEST_F(BroderaUi, ADroppedDesignFileIsNotALayout) {
  app->Start({});
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(Design("rose.qnf", 200, 100, {20})))});
  EXPECT_TRUE(app->Frame().DropFiles(dropped));
  QApplication::processEvents();
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Not a layout data file.");
  EXPECT_EQ(box.Shown()[0].caption, "File Open");
  EXPECT_EQ(app->Document().GetDesignCount(), 0);
}

TEST_F(BroderaUi, ADefectiveFileOnTheCommandLineGivesAFreshLayout) {
  std::vector<uint8_t> bad{'C', 'o', 'r', 'v', 'a', 'n', ' ', 'b', 'd', 'z', 1};
  ASSERT_FALSE(platform::WriteWholeFile(dir / "bad.bdz", bad));
  app->Start({true, (dir / "bad.bdz").string()});
  // Said at once, before the window and its splash show; nothing more is queued.
  ASSERT_EQ(box.Count(), 1u);
  QApplication::processEvents();
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "This file may be defective.");
  EXPECT_EQ(app->Frame().windowTitle(), "Untitled - Brodera");
}

TEST_F(BroderaUi, AMissingFileOnTheCommandLineEndsTheProgramBeforeItsWindowShows) {
  EXPECT_FALSE(app->Start({true, (dir / "missing.bdz").string()}));
  EXPECT_FALSE(app->Frame().isVisible());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, (dir / "missing.bdz").string() + "\nThis file was not found.");
  EXPECT_EQ(box.Shown()[0].caption, "File Open");
}

TEST_F(BroderaUi, ClosingAskedAboutChangesAndKeepsThePlacement) {
  app->Start({});
  Import(Design("rose.qnf", 200, 100, {20}));
  box.Script({platform::kIdCancel});
  EXPECT_FALSE(app->Frame().close());
  EXPECT_TRUE(app->Frame().isVisible());
  box.Script({platform::kIdNo});
  EXPECT_TRUE(app->Frame().close());
  EXPECT_FALSE(platform::Profile("Brodera").GetString("Settings", "wp").empty());
}

// The layout painted as the window paints it: thread colours where the designs are.
TEST_F(BroderaUi, ScreenshotShowsThreadColoursWhereTheDesignsAre) {
  app->Start({});
  Import(Design("red.qnf", 400, 400, {20}));
  Import(Design("other.qnf", 400, 400, {40}));
  auto& designs = app->Document().GetDesignList();
  designs.front().centreX = 350;  // move the second one away from the first
  app->View().OnCommand(cmd::kGridLightGray);
  QImage image(600, 420, QImage::Format_RGB32);
  QPainter painter(&image);
  platform_ui::QtCanvas canvas(painter);
  app->View().OnDraw(canvas);
  painter.end();
  auto colourAt = [&](int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return platform::PaletteRgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                                static_cast<uint8_t>(c.blue()));
  };
  // The first design stands at (140, 200): its left edge 40 units left of the centre.
  const uint32_t first = design::ThreadCodeToRGB(20), second = design::ThreadCodeToRGB(40);
  ASSERT_NE(first, second);
  EXPECT_EQ(colourAt(20 + 100, 20 + 200), first);
  EXPECT_EQ(colourAt(20 + 310, 20 + 200), second);
  EXPECT_EQ(colourAt(20 + 240, 20 + 100), platform::PaletteRgb(0xEB, 0xFF, 0xFF));  // background
}

TEST_F(BroderaUi, EveryToolbarButtonHasItsLooksAndHelpAndShowsAtTheInitialSize) {
  ASSERT_TRUE(app->Start({}));
  auto* bar = app->Frame().findChild<QToolBar*>("toolbar");
  ASSERT_NE(bar, nullptr);
  QCoreApplication::processEvents();
  int buttons = 0;
  for (QAction* action : bar->actions()) {
    if (action->isSeparator()) continue;
    ++buttons;
    const QSize size(22, 21);
    const QImage normal = action->icon().pixmap(size, QIcon::Normal).toImage();
    ASSERT_FALSE(normal.isNull()) << action->toolTip().toStdString();
    EXPECT_NE(action->icon().pixmap(size, QIcon::Active).toImage(), normal) << action->toolTip().toStdString();
    EXPECT_NE(action->icon().pixmap(size, QIcon::Disabled).toImage(), normal) << action->toolTip().toStdString();
    // Nothing folds into the bar's overflow at the window's first width.
    QWidget* button = bar->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible()) << action->toolTip().toStdString();
    EXPECT_LE(button->geometry().right(), bar->width()) << action->toolTip().toStdString();
    // Fly-by help in the status bar.
    ASSERT_FALSE(action->statusTip().isEmpty()) << action->toolTip().toStdString();
    action->showStatusText(&app->Frame());
    EXPECT_EQ(app->Frame().statusBar()->currentMessage(), action->statusTip());
  }
  EXPECT_EQ(buttons, 17);
}

TEST(AboutBox, NamesTheSystemItRunsOn) {
  editor_ui::CAboutDlg about(nullptr);
  QStringList texts;
  for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  EXPECT_FALSE(texts.join("\n").contains("Windows"));
  EXPECT_TRUE(texts.contains(" for " + QSysInfo::prettyProductName()));
}

}  // namespace
