// Pictorel end to end, through the program's own commands: a picture imported, parts made into
// stitches, the finished stitches sized and turned, saved and reopened unchanged, the template
// printed to a PDF file, the design sent to the simulated machine and written to a fake card.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSysInfo>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "design/card/card_writer.h"
#include "design/hoop.h"
#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "digitizer/pictorel_commands.h"
#include "digitizer/picture_view_commands.h"
#include "digitizer/ui/auto_register_dialog.h"
#include "digitizer/ui/edit_parts_dialog.h"
#include "digitizer/ui/making_stitch_dialog.h"
#include "digitizer/ui/pictorel_application.h"
#include "digitizer/ui/pictorel_small_dialogs.h"
#include "digitizer/ui/satin_stitch_dialog.h"
#include "digitizer/ui/stitch_choice_dialog.h"
#include "link/panel/linkpanel.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/bitmap_builder.h"
#include "testing/fake_card.h"
#include "testing/file_size_limit.h"
#include "testing/fixed_clock.h"
#include "testing/machine/machine_simulator.h"
#include "testing/metafile_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
namespace cmd = digitizer::cmd;
namespace pcmd = digitizer::pview_cmd;
using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class PictorelProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    machine.Start();
    app = std::make_unique<digitizer_ui::PictorelApplication>(dir / "program", dir / "work", &volumes);
    app->TestOverrides().chooseFile = [this](digitizer::FileDialogKind, const std::string&) { return next; };
  }
  void TearDown() override {
    app.reset();
    machine.Stop();
    unsetenv("VELINOR_COM1");
    unsetenv("XDG_DATA_HOME");
    platform::SetProfileRoot({});
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }

  bool Run(int id) { return app->Frame().Dispatch(id); }
  bool Enabled(int id) { return app->Router().Query(id).enabled; }
  // The stitch bytes from byte 740 through the end pair.
  Bytes Stitches() {
    const digitizer::CStitchDesign& design = app->Document().Design();
    const uint8_t* first = design.Record()->Stitches();
    return Bytes(first, first + 2 * design.GetStitchCount());
  }
  // name.qnf with three stitches and name.bmp, its outline picture with a diagonal line.
  fs::path WriteDesignPair(const std::string& name) {
    digitizer::CStitchDesign design;
    design.ResetStitches();
    const uint8_t stitches[] = {10, 0, 0, 10, 0x80, 0x10};
    std::copy(std::begin(stitches), std::end(stitches), design.Record()->Stitches());
    design.Record()->SetColourCount(1);
    design.Record()->SetThreadCode(0, 5);
    EXPECT_TRUE(design.WriteFile(dir / (name + ".qnf")));
    vtest::BmpSpec outline;
    outline.width = outline.height = 64;
    outline.bitCount = 1;
    outline.colours = {0x000000u, 0xFFFFFFu};
    outline.pixel = [](int x, int y) { return x == y ? 0u : 1u; };
    WriteBytes(dir / (name + ".bmp"), vtest::BuildBmp(outline));
    return dir / (name + ".qnf");
  }
  // Presses a button of the modal dialog of that type as soon as it shows.
  template <typename Dialog>
  void PressWhenShown(int buttonId) {
    QTimer::singleShot(20, [buttonId] {
      if (auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget())) dialog->Button(buttonId)->click();
    });
  }

  // A click on the picture view at a picture pixel (zoom 1, not scrolled).
  void Click(Qt::MouseButton button, int x, int y) {
    QWidget* viewport = app->PictureView().viewport();
    const QPoint at(x + digitizer::BmpViewModel::kOrigin, y + digitizer::BmpViewModel::kOrigin);
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
  }
  // An outline drawing of the work size opened as the document's drawing: four closed
  // squares side by side, square k spanning columns 100k + 20 .. 100k + 80 of rows 20..80.
  void OpenSquares() {
    vtest::BmpSpec spec;
    spec.width = spec.height = 440;
    spec.bitCount = 1;
    spec.colours = {0x000000u, 0xFFFFFFu};
    spec.pixel = [](int x, int y) {
      const int column = x % 100;
      const bool sides = (column == 20 || column == 80) && y >= 20 && y <= 80;
      const bool ends = (y == 20 || y == 80) && column >= 20 && column <= 80;
      return sides || ends ? 0u : 1u;
    };
    WriteBytes(dir / "squares.bmp", vtest::BuildBmp(spec));
    next = dir / "squares.bmp";
    ASSERT_TRUE(Run(cmd::kBitmapOutline));
  }
  // Square k selected and registered: a part, with the design's stitches made at once.
  void RegisterSquare(int k) {
    Click(Qt::LeftButton, 100 * k + 50, 50);
    ASSERT_TRUE(Run(pcmd::kRegister));
  }
  // What is drawn and what is saved and sent are one design: the head counts the pairs the
  // stream holds through its end pair.
  void ExpectOneDesign() {
    const digitizer::CStitchDesign& design = app->Document().Design();
    ASSERT_NE(design.Record(), nullptr);
    EXPECT_EQ(design.Record()->PairCount(), design.GetStitchCount());
  }
  // A clipart imported, shown at 2 x, and its block registered as a part with its stitches;
  // the document unchanged since.
  void RegisterOnClipart() {
    vtest::MetafileBuilder clipart;
    clipart.Bounds(0, 0, 1000, 500).Pen(vtest::meta::kNullPen, 0, 0).Brush(vtest::meta::kSolid, vtest::meta::kRedRef);
    clipart.Select(0).Select(1).Rectangle(200, 100, 800, 400);
    WriteBytes(dir / "block.wmf", clipart.Build());
    next = dir / "block.wmf";
    ASSERT_TRUE(Run(cmd::kImportClipart));
    // At 2 x the placed picture is not moved by a click: the click selects.
    ASSERT_TRUE(Run(cmd::kBitmapZoom1 + 1));
    Click(Qt::LeftButton, 5, 5);
    ASSERT_TRUE(Run(pcmd::kRegister));
    ASSERT_EQ(app->Document().Design().GetPartCount(), 1);
    app->DocumentCommands().SetModified(false);
    ASSERT_TRUE(Enabled(pcmd::kAutoRegister));
  }
  // The stitch view paints more than its background: it draws the design.
  bool StitchViewDraws() {
    QWidget* viewport = app->Frame().StitchView().viewport();
    QImage image(viewport->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    viewport->render(&image);
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != background) return true;
      }
    }
    return false;
  }
  // Runs the command while a modal dialog of that type, as soon as its event loop runs,
  // gets what act does to it.
  template <typename Dialog>
  bool RunWithDialog(int id, std::function<void(Dialog&)> act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      if (auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget())) {
        seen = true;
        act(*dialog);
      }
    });
    const bool ran = Run(id);
    EXPECT_TRUE(seen);
    return ran;
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock{platform::LocalTime{2026, 12, 9, 10, 30, 0}};
  vtest::MachineSimulator machine;
  vtest::FakeCardVolumes volumes;
  std::unique_ptr<digitizer_ui::PictorelApplication> app;
  std::optional<fs::path> next;
};

TEST_F(PictorelProgram, APictureBecomesStitchesThatAreSavedPrintedSentAndWritten) {
  // A picture made by the bitmap builder is imported and waits for its outline.
  vtest::BmpSpec spec;
  spec.width = 64;
  spec.height = 48;
  spec.pixel = [](int x, int y) { return x > 16 && x < 48 && y > 8 && y < 40 ? 0xC02020u : 0xFFFFFFu; };
  WriteBytes(dir / "rose.bmp", vtest::BuildBmp(spec));
  next = dir / "rose.bmp";
  ASSERT_TRUE(Run(cmd::kImportBitmap));
  EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kBitmapToTrace);
  EXPECT_EQ(app->Document().Title(), "rose.bmp");

  // Auto Register makes the picture's regions parts, with their stitches.
  QTimer::singleShot(20, [] {
    if (auto* dialog = dynamic_cast<digitizer_ui::CAutoRegisterDlg*>(QApplication::activeModalWidget())) {
      dialog->StartButton()->click();
    }
  });
  ASSERT_TRUE(Run(pcmd::kAutoRegister));
  const digitizer::CStitchDesign& design = app->Document().Design();
  ASSERT_GT(design.GetPartCount(), 0);
  EXPECT_EQ(design.EditState(), digitizer::kStitchesFromParts);
  EXPECT_EQ(app->Frame().Panes().Text(cmd::kPaneParts), " " + std::to_string(design.GetPartCount()));

  // Make Stitch with the design sized down runs the parts again.
  app->TestOverrides().makeOptions = [](const digitizer::MakeStitchOptions&) {
    digitizer::MakeStitchOptions options;
    options.sizePercent = 90;
    return options;
  };
  ASSERT_TRUE(Enabled(cmd::kMakeStitch));
  ASSERT_TRUE(Run(cmd::kMakeStitch));
  EXPECT_GT(design.GetStitchCount(), 10);
  EXPECT_EQ(app->Frame().Panes().Text(cmd::kPaneMode), " Reedit");

  // Saved with its parts and opened again: Return to Edit opens Edit Parts, whose Make runs at
  // once.
  next = dir / "parts.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  EXPECT_TRUE(fs::exists(dir / "parts.bmp"));
  const int parts = design.GetPartCount();
  ASSERT_TRUE(Run(cmd::kFileOpen));
  EXPECT_EQ(design.EditState(), digitizer::kPartsRead);
  EXPECT_EQ(design.GetPartCount(), parts);
  EXPECT_FALSE(Enabled(cmd::kMakeStitch));
  PressWhenShown<digitizer_ui::CEditPartsDlg>(digitizer_ui::CEditPartsDlg::kMakeId);
  ASSERT_TRUE(Run(cmd::kReturnToEdit));
  EXPECT_EQ(design.EditState(), digitizer::kStitchesFromParts);
  EXPECT_GT(design.GetStitchCount(), 10);

  // The finished stitches as a plain design: Return to Edit opens Modify Stitch on them.
  Bytes plain;
  ASSERT_GT(app->Document().Design().BuildQnfImage(design.GetStitchCount(), plain), 0u);
  WriteBytes(dir / "plain.qnf", plain);
  fs::copy_file(dir / "parts.bmp", dir / "plain.bmp");  // its outline picture beside it
  next = dir / "plain.qnf";
  boxes.Script({platform::kIdNo});  // the made stitches are not kept
  ASSERT_TRUE(Run(cmd::kFileOpen));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Save changes to parts?");
  boxes.Clear();
  EXPECT_EQ(design.EditState(), digitizer::kStitchesOnly);
  const Bytes made = Stitches();
  app->TestOverrides().modify = [](const digitizer::ModifySettings&) {
    return digitizer::ModifySettings{digitizer::kFlipNone, 90, 110};
  };
  ASSERT_TRUE(Run(cmd::kReturnToEdit));
  EXPECT_EQ(design.EditState(), digitizer::kStitchesModified);
  const Bytes modified = Stitches();
  EXPECT_NE(modified, made);
  EXPECT_EQ(app->Frame().Panes().Text(cmd::kPaneMode), " Modify");

  // Saved under a new name and opened again: the same stitches.
  next = dir / "design.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  EXPECT_FALSE(app->DocumentCommands().IsModified());
  ASSERT_TRUE(Run(cmd::kFileOpen));
  EXPECT_EQ(Stitches(), modified);
  EXPECT_EQ(app->DocumentCommands().RecentFiles().Paths().front(), (dir / "design.qnf").string());

  // The template printed to a PDF file.
  app->PrintJob().SetPrinterChooser([this](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "rose.pdf").string()));
    return true;
  });
  ASSERT_TRUE(Enabled(cmd::kFilePrint));
  ASSERT_TRUE(Run(cmd::kFilePrint));
  const Bytes pdf = ReadBytes(dir / "rose.pdf");
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");

  // Sent to the machine: the design arrives byte for byte under its file name.
  Bytes image;
  ASSERT_GT(app->Document().Design().BuildQnfImage(app->Document().Design().GetStitchCount(), image), 0u);
  QTimer ticker;
  bool started = false;
  QObject::connect(&ticker, &QTimer::timeout, [&started] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (started || !widget->isVisible() || widget->objectName() != "sendDesigns") continue;
      started = true;
      QPushButton* start = widget->findChild<QPushButton*>("start");
      QTimer::singleShot(0, start, [start] { start->click(); });
    }
  });
  ticker.start(5);
  ASSERT_TRUE(Run(cmd::kSendDesign));
  ticker.stop();
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].name, "design.qnf");
  EXPECT_EQ(stored[0].bytes, image);

  // Written to the card under the name chosen in the card dialog.
  const fs::path drive = volumes.Add();
  app->TestOverrides().cardWrite = [drive](const std::string& proposed) {
    EXPECT_EQ(proposed, "design.qnf");
    return digitizer::CardDialogChoice{drive, {false, "ROSE.qnf", 0}};
  };
  ASSERT_TRUE(Run(cmd::kCardWriteDesign));
  EXPECT_EQ(ReadBytes(card::CardFolder(drive, kDestinationAtaCard) / "ROSE.qnf"), image);
  for (const vtest::ShownMessage& box : boxes.Shown()) ADD_FAILURE() << "box: " << box.text;
}

TEST_F(PictorelProgram, StartOpensTheCommandLinesDesignOrEndsOnAnUnreadableFileAndADropOpensOne) {
  platform::CommandLineInfo line;
  line.showSplash = false;
  line.fileToOpen = (dir / "missing.qnf").string();
  EXPECT_FALSE(app->Start(line));
  EXPECT_FALSE(app->Frame().isVisible());

  line.fileToOpen = WriteDesignPair("tulip").string();
  boxes.Clear();
  ASSERT_TRUE(app->Start(line));
  EXPECT_TRUE(app->Frame().isVisible());
  EXPECT_EQ(app->Document().Design().GetStitchCount(), 3);
  EXPECT_EQ(app->Document().Contents(), digitizer::kContentsBoth);
  EXPECT_EQ(app->Frame().windowTitle(), "tulip - Pictorel");
  // Without a default printer the program says so once it runs, not while it starts.
  EXPECT_EQ(boxes.Count(), 0u);
  QApplication::processEvents();
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer_ui::kNoPrinterText);

  // A design file dropped on the window opens the same way.
  ASSERT_TRUE(Run(cmd::kStandardHoop));
  EXPECT_EQ(app->Frame().windowTitle(), "Untitled - Pictorel");
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "tulip.qnf").string()))});
  ASSERT_TRUE(app->Frame().DropFiles(dropped));
  EXPECT_EQ(app->Frame().windowTitle(), "tulip - Pictorel");
}

TEST_F(PictorelProgram, ADesignCommandBringsBothViewsBackToTheirStart) {
  digitizer::BmpViewModel& picture = app->PictureView().Model();
  picture.SetZoomFactor(3);
  ASSERT_TRUE(Run(pcmd::kPencil));
  app->Frame().StitchView().SetZoom(7);
  app->Document().Design().SetEditState(digitizer::kStitchesFromParts);
  boxes.Script({platform::kIdYes});
  ASSERT_TRUE(Run(cmd::kDeleteAllParts));
  EXPECT_EQ(picture.Zoom(), 1);
  EXPECT_EQ(picture.Tool(), digitizer::DrawingTool::kNone);
  EXPECT_EQ(app->Frame().StitchView().Model().Zoom(), digitizer::kFullZoom);
}

// What the user chose or typed shows where it should, and every name shows once: the Line
// dialog and the status pane, the satin density of the next part, the file dialogs' filters,
// the About box, the Hoop Size buttons and the Edit Parts thumbnails.
TEST_F(PictorelProgram, TheSmallWindowsShowWhatWasChosenOrTyped) {
  namespace id = digitizer::stitch_dialog_id;
  QString lineName;
  QTimer::singleShot(20, [&lineName] {
    auto* dialog = dynamic_cast<digitizer_ui::StitchChoiceDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    qobject_cast<QRadioButton*>(dialog->Control(id::kZsLine))->click();
    qobject_cast<QCheckBox*>(dialog->Control(id::kLengthCheck))->click();
    auto* edit = qobject_cast<QLineEdit*>(dialog->Control(id::kLengthEdit));
    edit->setText("3.5");
    emit edit->textEdited("3.5");
    lineName = dialog->FillNameLabel()->text();
    dialog->accept();
  });
  ASSERT_TRUE(Run(pcmd::kLine));
  EXPECT_EQ(lineName, "Straight stitch (3.5 mm)");
  const std::string pane = app->Frame().Panes().Text(cmd::kPaneSetting);
  EXPECT_TRUE(pane.ends_with(" - Straight stitch 3.5 mm")) << pane;

  // A satin part registered Coarse: the next satin part's dialog opens Coarse.
  digitizer::CBitMask bits(440, 440);
  std::vector<uint8_t> mask(bits.PackedBytes());
  for (int y = 20; y < 40; ++y) {
    for (int x = 16; x < 40; ++x) mask[static_cast<std::size_t>(y * bits.PackedRowBytes(440) + x / 8)] |= 0x80 >> (x % 8);
  }
  int option = 1;
  digitizer::SatinSettings entries{};
  QTimer::singleShot(20, [] {
    auto* dialog = dynamic_cast<digitizer_ui::CSatinStitchDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->Model().DropDot(digitizer::SatinDot::kStart, {16, 30}));
    EXPECT_TRUE(dialog->Model().DropDot(digitizer::SatinDot::kEnd, {39, 30}));
    dialog->DensityRadio(digitizer::kDensityCoarseId)->click();
    dialog->accept();
  });
  ASSERT_TRUE(app->PictureView().RunSatinDialog(mask, 440, 440, entries, option));
  bool coarse = false;
  digitizer::SatinSettings next{};
  QTimer::singleShot(20, [&coarse] {
    auto* dialog = dynamic_cast<digitizer_ui::CSatinStitchDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    coarse = dialog->DensityRadio(digitizer::kDensityCoarseId)->isChecked();
    dialog->reject();
  });
  EXPECT_FALSE(app->PictureView().RunSatinDialog(mask, 440, 440, next, option));
  EXPECT_TRUE(coarse);

  // The import dialog's filters, each named once.
  app->TestOverrides().chooseFile = nullptr;
  QStringList filters;
  QTimer::singleShot(20, [&filters] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    const auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
    for (int i = 0; combo && i < combo->count(); ++i) filters << combo->itemText(i);
    dialog->reject();
  });
  ASSERT_TRUE(Run(cmd::kImportPicture));
  EXPECT_EQ(filters, (QStringList{"Clipart(.wmf) and Bitmap(.bmp)", "Clipart(*.wmf)", "Bitmap(*.bmp)"}));

  // The About box names the system the program runs on.
  QStringList about;
  QTimer::singleShot(20, [&about] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    for (const QLabel* label : dialog->findChildren<QLabel*>()) about << label->text();
    dialog->close();
  });
  ASSERT_TRUE(Run(cmd::kAppAbout));
  EXPECT_FALSE(about.join("\n").contains("Windows"));
  EXPECT_TRUE(about.contains(" for " + QSysInfo::prettyProductName()));

  // The Hoop Size buttons show the hoops' pictures, not their resource names.
  int pictures = 0;
  QTimer::singleShot(20, [&pictures] {
    auto* dialog = dynamic_cast<digitizer_ui::CHoopSizeDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    for (int id : {digitizer_ui::CHoopSizeDlg::kHoopMId, digitizer_ui::CHoopSizeDlg::kHoopSId,
                   digitizer_ui::CHoopSizeDlg::kHoopLId}) {
      const QPushButton* button = dialog->Button(id);
      pictures += button->text().isEmpty() && !button->icon().isNull();
    }
    dialog->reject();
  });
  ASSERT_TRUE(Run(cmd::kFileNew));
  EXPECT_EQ(pictures, 3);

  // Edit Parts opens with room for rows of whole thumbnails with their texts.
  app->Document().Design().AddPart(5, digitizer::kStraightStitch + 20 * 256);
  app->Document().Design().SetEditState(digitizer::kStitchesFromParts);
  QSize cell;
  QSize shown;
  QTimer::singleShot(20, [&cell, &shown] {
    auto* dialog = dynamic_cast<digitizer_ui::CEditPartsDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    cell = dialog->List()->visualItemRect(dialog->List()->item(0)).size();
    shown = dialog->List()->viewport()->size();
    dialog->reject();
  });
  ASSERT_TRUE(Run(cmd::kEditParts));
  EXPECT_GE(cell.width(), digitizer::kThumbnailWidth);
  EXPECT_GE(cell.height(), digitizer::kThumbnailHeight + QFontMetrics(QApplication::font()).height());
  EXPECT_GE(shown.width(), 4 * cell.width());
  EXPECT_GE(shown.height(), 2 * cell.height());
}

TEST_F(PictorelProgram, TheColourAndStitchBarShowsWhatTheViewsPost) {
  app->Frame().PostFrameMessage(digitizer::kUwmColorChanged, 5, 0);
  app->Frame().PostFrameMessage(digitizer::kUwmStitchChanged, digitizer::kDiagonalWeave, 45);
  QApplication::processEvents();
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  design::ThreadColorInfo(5, red, green, blue);
  // The swatch (14, 3)-(32, 19) is filled in the thread's colour.
  EXPECT_EQ(app->Frame().ColorImage().toImage().pixelColor(20, 10), QColor(red, green, blue));
  EXPECT_EQ(app->Frame().ColorImage().toImage().pixelColor(40, 10).alpha(), 0);
  EXPECT_FALSE(app->Frame().StitchImage().isNull());
}

TEST_F(PictorelProgram, TheStitchErrorMessageShowsItsTextOnceTheCommandHasFinished) {
  app->Frame().PostFrameMessage(digitizer::kUwmStitchError, 2, 0);
  EXPECT_EQ(boxes.Count(), 0u);
  QApplication::processEvents();
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kSatinFailedText);
  EXPECT_EQ(boxes.Shown()[0].caption, "Attention");
}

TEST_F(PictorelProgram, ASaveThatFailsSaysSoAndLeavesBothOldFilesTheTitleAndTheChanges) {
  next = WriteDesignPair("tulip");
  ASSERT_TRUE(Run(cmd::kFileOpen));
  app->TestOverrides().modify = [](const digitizer::ModifySettings&) {
    return digitizer::ModifySettings{digitizer::kFlipNone, 90, 110};
  };
  ASSERT_TRUE(Run(cmd::kReturnToEdit));
  ASSERT_TRUE(app->DocumentCommands().IsModified());
  const Bytes oldDesign = ReadBytes(dir / "tulip.qnf");
  const Bytes oldPicture = ReadBytes(dir / "tulip.bmp");
  const std::string pictureFailed = (dir / "tulip.bmp").string() + "\nWrite error";
  {
    // Room for the new design but not for its 440 x 440 outline picture, as on a disk that
    // fills half way through the pair; the limit's signal is left as the program set it.
    vtest::FileSizeLimit limit(8192, false);
    ASSERT_TRUE(Run(cmd::kFileSave));
    // Closing asks about the changes; Yes fails the same way, and the window stays.
    boxes.Script({platform::kIdYes});
    EXPECT_FALSE(app->Frame().close());
  }
  ASSERT_EQ(boxes.Count(), 3u);
  EXPECT_EQ(boxes.Shown()[0].text, pictureFailed);
  EXPECT_EQ(boxes.Shown()[1].text, "Save changes to tulip?");
  EXPECT_EQ(boxes.Shown()[2].text, pictureFailed);
  EXPECT_EQ(ReadBytes(dir / "tulip.qnf"), oldDesign);
  EXPECT_EQ(ReadBytes(dir / "tulip.bmp"), oldPicture);

  // Save As into a folder that cannot be written: a file stands where the folder would be,
  // which stops root as well.
  boxes.Clear();
  next = dir / "tulip.bmp" / "rose.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, next->string() + "\nWrite error");
  EXPECT_EQ(app->Frame().windowTitle(), "tulip - Pictorel");
  EXPECT_TRUE(app->DocumentCommands().IsModified());
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

TEST_F(PictorelProgram, NoToReplacingAnotherPictureAsksForTheNameAgain) {
  next = WriteDesignPair("tulip");
  ASSERT_TRUE(Run(cmd::kFileOpen));
  const Bytes rose = vtest::BuildBmp(vtest::BmpSpec());
  WriteBytes(dir / "rose.bmp", rose);  // the user's own picture
  const std::vector<fs::path> names{dir / "rose.qnf", dir / "lily.qnf"};
  std::vector<std::string> proposed;
  app->TestOverrides().chooseFile = [&](digitizer::FileDialogKind, const std::string& name) -> std::optional<fs::path> {
    proposed.push_back(name);
    if (proposed.size() > names.size()) return std::nullopt;
    return names[proposed.size() - 1];
  };
  boxes.Script({platform::kIdNo});
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  EXPECT_EQ(proposed, (std::vector<std::string>{"tulip.qnf", "rose.qnf"}));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            (dir / "rose.bmp").string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(ReadBytes(dir / "rose.bmp"), rose);
  EXPECT_FALSE(fs::exists(dir / "rose.qnf"));
  EXPECT_TRUE(fs::exists(dir / "lily.bmp"));
  EXPECT_EQ(app->Frame().windowTitle(), "lily - Pictorel");
}

// Save As over a design asks once for it (the save dialog's question, which the chooser stands
// for) and about the picture beside it only when the program did not write that picture; the
// title then drops the extension as after Open.
TEST_F(PictorelProgram, SaveAsOverADesignAsksOnlyAboutAPictureTheProgramDidNotWrite) {
  OpenSquares();
  RegisterSquare(0);
  next = dir / "rose.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  EXPECT_EQ(app->Frame().windowTitle(), "rose - Pictorel");

  // Another design saved over it: its picture is the one this program wrote.
  ASSERT_TRUE(Run(cmd::kStandardHoop));
  OpenSquares();
  RegisterSquare(1);
  const Bytes first = ReadBytes(dir / "rose.qnf");
  next = dir / "rose.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  EXPECT_EQ(boxes.Count(), 0u);
  const Bytes second = ReadBytes(dir / "rose.qnf");
  EXPECT_NE(second, first);
  EXPECT_EQ(app->Frame().windowTitle(), "rose - Pictorel");

  // A picture of the user's own under that name is asked about, and No keeps both files.
  const Bytes mine = vtest::BuildBmp(vtest::BmpSpec());
  WriteBytes(dir / "rose.bmp", mine);
  ASSERT_TRUE(Run(cmd::kStandardHoop));
  OpenSquares();
  RegisterSquare(2);
  int chosen = 0;
  app->TestOverrides().chooseFile = [&](digitizer::FileDialogKind, const std::string&) -> std::optional<fs::path> {
    if (chosen++ > 0) return std::nullopt;
    return dir / "rose.qnf";
  };
  boxes.Script({platform::kIdNo});
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            (dir / "rose.bmp").string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(ReadBytes(dir / "rose.bmp"), mine);
  EXPECT_EQ(ReadBytes(dir / "rose.qnf"), second);
}

TEST_F(PictorelProgram, AFailedOpenOrImportKeepsTheDocumentAndNamesTheFile) {
  next = WriteDesignPair("tulip");
  ASSERT_TRUE(Run(cmd::kFileOpen));
  const Bytes stitches = Stitches();
  WriteBytes(dir / "broken.qnf", Bytes(40, 0x11));
  WriteBytes(dir / "broken.bmp", Bytes(40, 0x22));
  WriteBytes(dir / "notes.txt", Bytes(10, 'x'));
  boxes.Clear();
  next = dir / "broken.qnf";
  ASSERT_TRUE(Run(cmd::kFileOpen));
  next = dir / "gone.qnf";
  ASSERT_TRUE(Run(cmd::kFileOpen));
  next = dir / "broken.bmp";
  ASSERT_TRUE(Run(cmd::kImportBitmap));
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "notes.txt").string()))});
  app->Frame().DropFiles(dropped);
  const std::vector<std::string> expected{"This file may be defective.",
                                          (dir / "gone.qnf").string() + "\nThis file was not found.",
                                          "BMP File Read error",
                                          (dir / "notes.txt").string() + "\nThis file may be defective."};
  ASSERT_EQ(boxes.Count(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(boxes.Shown()[i].text, expected[i]);
  EXPECT_EQ(app->Frame().windowTitle(), "tulip - Pictorel");
  EXPECT_EQ(Stitches(), stitches);
  EXPECT_EQ(app->Document().Contents(), digitizer::kContentsBoth);

  // A design whose outline picture is damaged opens on its own; the message names the picture.
  fs::copy_file(dir / "tulip.qnf", dir / "lily.qnf");
  fs::copy_file(dir / "broken.bmp", dir / "lily.bmp");
  boxes.Clear();
  next = dir / "lily.qnf";
  ASSERT_TRUE(Run(cmd::kFileOpen));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, (dir / "lily.bmp").string() + "\nThis file may be defective.");
  EXPECT_EQ(app->Frame().windowTitle(), "lily.qnf - Pictorel");
}

TEST_F(PictorelProgram, RegisterWithTheSelectionTakenBackChangesNothingAndTheSaveKeepsThePart) {
  OpenSquares();
  RegisterSquare(0);
  const digitizer::CStitchDesign& design = app->Document().Design();
  ASSERT_EQ(design.GetPartCount(), 1);
  const Bytes made = Stitches();
  // A region selected and taken back with the right button leaves nothing to register.
  Click(Qt::LeftButton, 150, 50);
  EXPECT_TRUE(Enabled(pcmd::kRegister));
  Click(Qt::RightButton, 150, 50);
  EXPECT_FALSE(Enabled(pcmd::kRegister));
  // Register reached all the same says so and changes nothing.
  boxes.Clear();
  app->PictureView().Model().OnRegister();
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kNoPartsSelectedMessage);
  EXPECT_EQ(design.EditState(), digitizer::kStitchesFromParts);
  for (int id : {cmd::kEditParts, cmd::kMakeStitch, cmd::kDeleteAllParts}) EXPECT_TRUE(Enabled(id)) << id;
  next = dir / "one.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  ASSERT_TRUE(Run(cmd::kFileOpen));
  EXPECT_EQ(design.GetPartCount(), 1);
  EXPECT_EQ(Stitches(), made);
}

// Register on a design opened with its parts begins a new design: it asks first, No changes
// nothing, and a satin registration cancelled in its dialog leaves the opened design whole.
TEST_F(PictorelProgram, RegisterOnAnOpenedDesignAsksAndDeletesItsPartsOnlyForAMadePart) {
  OpenSquares();
  RegisterSquare(0);
  RegisterSquare(1);
  next = dir / "two.qnf";
  ASSERT_TRUE(Run(cmd::kFileSaveAs));
  ASSERT_TRUE(Run(cmd::kFileOpen));
  const digitizer::CStitchDesign& design = app->Document().Design();
  ASSERT_EQ(design.EditState(), digitizer::kPartsRead);
  ASSERT_EQ(design.GetPartCount(), 2);
  const Bytes read = Stitches();
  auto expectAsOpened = [&] {
    EXPECT_EQ(design.EditState(), digitizer::kPartsRead);
    EXPECT_EQ(design.GetPartCount(), 2);
    EXPECT_EQ(Stitches(), read);
    EXPECT_FALSE(app->DocumentCommands().IsModified());
    EXPECT_TRUE(Enabled(pcmd::kRegister));
  };

  Click(Qt::LeftButton, 250, 50);
  boxes.Script({platform::kIdNo});
  ASSERT_TRUE(Run(pcmd::kRegister));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kRegisterReplacesPartsMessage);
  EXPECT_EQ(boxes.Shown()[0].flags & platform::kMbButtonMask, platform::kMbYesNo);
  expectAsOpened();

  namespace id = digitizer::stitch_dialog_id;
  auto chooseFill = [this](int radio) {
    QTimer::singleShot(20, [radio] {
      auto* dialog = dynamic_cast<digitizer_ui::StitchChoiceDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      qobject_cast<QRadioButton*>(dialog->Control(radio))->click();
      dialog->accept();
    });
    ASSERT_TRUE(Run(pcmd::kFill));
  };
  chooseFill(id::kTweave);
  boxes.Script({platform::kIdYes});
  ASSERT_TRUE(RunWithDialog<digitizer_ui::CSatinStitchDlg>(pcmd::kRegister, [](auto& dialog) { dialog.reject(); }));
  expectAsOpened();

  // Yes and a part made: the design is that part alone, and so is what Save writes.
  chooseFill(id::kHweave);
  boxes.Script({platform::kIdYes});
  ASSERT_TRUE(Run(pcmd::kRegister));
  EXPECT_EQ(design.EditState(), digitizer::kStitchesFromParts);
  EXPECT_EQ(design.GetPartCount(), 1);
  ASSERT_TRUE(Run(cmd::kFileSave));
  ASSERT_TRUE(Run(cmd::kFileOpen));
  EXPECT_EQ(design.GetPartCount(), 1);
}

TEST_F(PictorelProgram, AutoRegisterCancelledBeforeOrAfterStartLeavesThePartsAndStitches) {
  RegisterOnClipart();
  const digitizer::CStitchDesign& design = app->Document().Design();
  const Bytes made = Stitches();
  ASSERT_TRUE(Run(cmd::kBitmapZoom1 + 1));

  // Until Start the design is the window's: the stitch view draws it and the commands run.
  bool freeBeforeStart = false;
  ASSERT_TRUE(RunWithDialog<digitizer_ui::CAutoRegisterDlg>(pcmd::kAutoRegister, [&](auto& dialog) {
    freeBeforeStart = !design.Busy() && Enabled(cmd::kFileSave) && StitchViewDraws();
    dialog.reject();
  }));
  EXPECT_TRUE(freeBeforeStart);
  EXPECT_EQ(design.GetPartCount(), 1);
  EXPECT_EQ(Stitches(), made);
  ExpectOneDesign();
  EXPECT_FALSE(app->DocumentCommands().IsModified());
  // A Cancel before Start is no cancelled run: the views are not brought back to their start.
  EXPECT_EQ(app->PictureView().Model().Zoom(), 2);

  // Cancelled as soon as the run has begun. While the worker makes the design the window
  // asks nothing of it: every command waits.
  bool heldWhileRunning = false;
  ASSERT_TRUE(RunWithDialog<digitizer_ui::CAutoRegisterDlg>(pcmd::kAutoRegister, [&](auto& dialog) {
    dialog.StartButton()->click();
    heldWhileRunning = design.Busy() && !Enabled(cmd::kFileSave) && !Enabled(pcmd::kRegister);
    dialog.reject();
  }));
  EXPECT_TRUE(heldWhileRunning);
  EXPECT_EQ(design.GetPartCount(), 1);
  EXPECT_EQ(Stitches(), made);
  ExpectOneDesign();
  EXPECT_FALSE(app->DocumentCommands().IsModified());
  EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kClipartToTrace);
}

// A dialog torn down in the middle of its run (hidden, as when the program quits) gives the
// design back to the window, with what the run did to it: a cancelled run put back, or a run
// that got through kept and the document marked changed.
TEST_F(PictorelProgram, AnAutoRegisterDialogTornDownMidRunGivesTheDesignBack) {
  RegisterOnClipart();
  const digitizer::CStitchDesign& design = app->Document().Design();
  const Bytes made = Stitches();
  const Bytes mask = design.GetPartList().GetPart(0)->mask;
  // Past half-way the run has replaced the parts and is making their stitches.
  ASSERT_TRUE(RunWithDialog<digitizer_ui::CAutoRegisterDlg>(pcmd::kAutoRegister, [](auto& dialog) {
    QObject::connect(dialog.ProgressBar(), &QProgressBar::valueChanged, &dialog, [&dialog](int percent) {
      if (percent > 50) dialog.hide();
    });
    dialog.StartButton()->click();
  }));
  EXPECT_FALSE(design.Busy());
  EXPECT_TRUE(Enabled(cmd::kFileSave));
  EXPECT_TRUE(Enabled(pcmd::kAutoRegister));
  EXPECT_TRUE(StitchViewDraws());
  ExpectOneDesign();
  if (!app->DocumentCommands().IsModified()) {
    ASSERT_EQ(design.GetPartCount(), 1);
    EXPECT_EQ(design.GetPartList().GetPart(0)->mask, mask);
    EXPECT_EQ(Stitches(), made);
  }
}

TEST_F(PictorelProgram, ACancelledMakeStitchLeavesTheStitchesItFound) {
  OpenSquares();
  for (int k = 0; k < 4; ++k) RegisterSquare(k);
  const Bytes made = Stitches();
  app->TestOverrides().makeOptions = [](const digitizer::MakeStitchOptions&) {
    digitizer::MakeStitchOptions options;
    options.sizePercent = 90;
    return options;
  };
  // Cancel as soon as the run has begun: it stops after the part in hand.
  ASSERT_TRUE(RunWithDialog<digitizer_ui::CMakingStitchDlg>(cmd::kMakeStitch, [](auto& dialog) { dialog.reject(); }));
  EXPECT_EQ(Stitches(), made);
  ExpectOneDesign();
  EXPECT_FALSE(app->Document().Design().Busy());
}

TEST_F(PictorelProgram, PasteStopsOnCancelAndOnNoBeginsAFreshDesign) {
  OpenSquares();
  RegisterSquare(0);
  const digitizer::CStitchDesign& design = app->Document().Design();
  const Bytes made = Stitches();
  Click(Qt::LeftButton, 150, 50);  // a second region waits to be registered
  vtest::BmpSpec spec;
  spec.width = 64;
  spec.height = 48;
  spec.pixel = [](int x, int) { return x < 32 ? 0xC02020u : 0xFFFFFFu; };
  const Bytes bmp = vtest::BuildBmp(spec);
  QApplication::clipboard()->setImage(QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP"));
  ASSERT_TRUE(Enabled(pcmd::kEditPaste));

  boxes.Script({platform::kIdCancel});
  ASSERT_TRUE(Run(pcmd::kEditPaste));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kNoPictureToTrace);
  EXPECT_EQ(design.GetPartCount(), 1);
  EXPECT_EQ(Stitches(), made);
  EXPECT_TRUE(app->DocumentCommands().IsModified());
  EXPECT_TRUE(Enabled(pcmd::kRegister));

  boxes.Script({platform::kIdNo});
  ASSERT_TRUE(Run(pcmd::kEditPaste));
  EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kBitmapToTrace);
  EXPECT_EQ(design.GetPartCount(), 0);
  EXPECT_EQ(design.GetStitchCount(), 0);
  EXPECT_FALSE(Enabled(cmd::kFileSave));
  EXPECT_FALSE(Enabled(pcmd::kRegister));
  // Nothing of the old picture is left to register.
  boxes.Clear();
  app->PictureView().Model().OnRegister();
  EXPECT_EQ(design.GetPartCount(), 0);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kNoPartsSelectedMessage);
}

TEST_F(PictorelProgram, AModifyThatDoesNotFitSaysSoAndKeepsTheStitchesAndTheSettings) {
  // 200,000 stitches 10 mm long back and forth: at 150 % each one needs two pairs, more
  // than a design record holds.
  digitizer::CStitchDesign file;
  file.ResetStitches();
  uint8_t* stitches = file.Record()->Stitches();
  constexpr int kPairs = 200000;
  for (int i = 0; i < kPairs; ++i) {
    stitches[2 * i] = static_cast<uint8_t>(i % 2 == 0 ? 100 : -100);
    stitches[2 * i + 1] = 0;
  }
  stitches[2 * kPairs] = 0x80;
  stitches[2 * kPairs + 1] = 0x10;
  file.Record()->SetColourCount(1);
  file.Record()->SetThreadCode(0, 5);
  ASSERT_TRUE(file.WriteFile(dir / "long.qnf"));
  next = dir / "long.qnf";
  ASSERT_TRUE(Run(cmd::kFileOpen));
  const Bytes read = Stitches();
  ASSERT_EQ(read.size(), 2u * (kPairs + 1));

  std::vector<int> starts;
  app->TestOverrides().modify = [&starts](const digitizer::ModifySettings& start) {
    starts.push_back(start.sizePercent);
    return digitizer::ModifySettings{digitizer::kFlipNone, 0, 150};
  };
  boxes.Clear();
  ASSERT_TRUE(Run(cmd::kReturnToEdit));
  QApplication::processEvents();
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kStitchMemoryText);
  EXPECT_EQ(Stitches(), read);
  ExpectOneDesign();
  EXPECT_FALSE(app->DocumentCommands().IsModified());
  // The next Modify starts from the settings the stitches were last made with.
  ASSERT_TRUE(Run(cmd::kMakeStitch));
  EXPECT_EQ(starts, (std::vector<int>{100, 100}));
}

TEST_F(PictorelProgram, APictureOverThePixelLimitIsRefusedWhereOneAtTheLimitImports) {
  // 8-bit pictures in runs whose data ends the picture at once: tiny files whose headers
  // would be read but for their size.
  vtest::BmpSpec spec;
  spec.bitCount = 8;
  spec.compression = 1;
  spec.colours = {0x000000u, 0xFFFFFFu};
  spec.bits = Bytes{0x00, 0x01};
  spec.height = 4096;
  for (const int width : {8193, 8192}) {
    spec.width = width;
    WriteBytes(dir / "wide.bmp", vtest::BuildBmp(spec));
    next = dir / "wide.bmp";
    boxes.Clear();
    ASSERT_TRUE(Run(cmd::kImportBitmap));
    if (width > 8192) {
      ASSERT_EQ(boxes.Count(), 1u);
      EXPECT_EQ(boxes.Shown()[0].text, digitizer::CImportDoc::kBmpReadError);
      EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kNoPictureToTrace);
    } else {
      EXPECT_EQ(boxes.Count(), 0u);
      EXPECT_EQ(app->Document().PictureStateValue(), digitizer::kBitmapToTrace);
    }
  }
}

TEST_F(PictorelProgram, EveryMenuCommandReachesAHandler) {
  // The frame's, the document's, the machine's and the picture view's commands alike.
  const std::vector<int> frameCommands{
      cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint, cmd::kFilePrintPreview,
      cmd::kFilePrintSetup, cmd::kAppAbout, cmd::kAppExit, cmd::kViewToolbar, cmd::kViewColorBar,
      cmd::kBitmapOutline, cmd::kImportPicture, cmd::kOpenSewFile, cmd::kImportBitmap, cmd::kImportClipart,
      cmd::kSewFile, cmd::kZoomDrawing, cmd::kEditParts, cmd::kMakeStitch, cmd::kReturnToEdit,
      cmd::kDeleteAllParts, cmd::kZoomStitchImage, cmd::kManualColor, cmd::kStandardHoop, cmd::kSmallHoop,
      cmd::kLargeHoop, cmd::kBitmapZoom1, cmd::kStitchZoom50, cmd::kStitchZoom500, cmd::kBackgroundColor,
      cmd::kCardManagerDesigns, cmd::kSendDesignsDesigns, cmd::kSendDesign, cmd::kSendDesigns,
      cmd::kReceiveDesigns, cmd::kDeleteDesigns, cmd::kSerialSettings, cmd::kCardWriteDesign,
      cmd::kCardManager, cmd::kSelectVersion, pcmd::kEditCopy, pcmd::kEditPaste, pcmd::kOutline,
      pcmd::kAutoRegister, pcmd::kPreviewOutline, pcmd::kTracingOptions, pcmd::kPencil, pcmd::kEraser,
      pcmd::kEraserSmall, pcmd::kEraserMedium, pcmd::kEraserLarge, pcmd::kFill, pcmd::kLine, pcmd::kAllLines,
      pcmd::kRegister, pcmd::kColor, pcmd::kStitch, pcmd::kEditCut};
  for (int id : frameCommands) {
    EXPECT_TRUE(app->Router().Query(id).handled) << id;
    // The manual colour has no menu entry; the bar's Color and Stitch are buttons of their own.
    if (id != cmd::kManualColor && id != pcmd::kColor && id != pcmd::kStitch) {
      EXPECT_NE(app->Frame().Action(id), nullptr) << id;
    }
  }
  // Cut has no menu item, only its two keys.
  const QAction* cut = app->Frame().Action(pcmd::kEditCut);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}));
}

}  // namespace
