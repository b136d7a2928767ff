// UploadData and DeleteData driven as a program drives them, against the simulated
// machine: the machine's list, designs received byte for byte, deletes that renumber the
// designs left, the preview, and a delete stopped while the machine stays busy.

#include <QCheckBox>
#include <QFileDialog>
#include <QListView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "link/panel/ui/tests/dialog_driver.h"

namespace {

using lptest::Child;
using lptest::ClickLater;
using lptest::Shown;

std::vector<std::string> Names(QTreeWidget* list) {
  std::vector<std::string> names;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    names.push_back(list->topLevelItem(i)->text(0).toStdString());
  }
  return names;
}

// Chooses a file in the picker's list as a click would; false until the picker has listed it.
bool ChooseInPicker(QFileDialog* picker, const std::string& name) {
  auto* view = picker->findChild<QListView*>("listView");
  if (view == nullptr) return false;
  const QAbstractItemModel* model = view->model();
  for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
    const QModelIndex index = model->index(row, 0, view->rootIndex());
    if (index.data().toString().toStdString() != name) continue;
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    return true;
  }
  return false;
}

QTreeWidgetItem* Row(QTreeWidget* list, const std::string& name) {
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    if (list->topLevelItem(i)->text(0).toStdString() == name) return list->topLevelItem(i);
  }
  return nullptr;
}

bool AllWhite(const QLabel* preview) {
  const QImage image = preview->pixmap().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    }
  }
  return true;
}

class MachineDialogs : public lptest::DialogDriven {
 protected:
  void SetUp() override {
    DialogDriven::SetUp();
    Every([this] {
      if (GetTransferStatus() == 1) busySeen = true;
    });
  }

  // The list dialog of this name once it has fetched this many lists and previews, and no
  // fetch is under way; else null.
  static QDialog* Ready(const char* objectName, int lists = 1, int previews = 0) {
    QDialog* dialog = Shown(objectName);
    if (!dialog || Shown("fetchDialog") || dialog->property("listsFetched").toInt() < lists ||
        dialog->property("previewsFetched").toInt() < previews) {
      return nullptr;
    }
    return dialog;
  }

  // Presses Start once in the receiving dialog.
  void StartReceiving() {
    Every([this] {
      QDialog* dialog = Shown("receiving");
      if (!dialog || receivingStarted) return;
      receivingStarted = true;
      receivingCaption = dialog->windowTitle().toStdString();
      ClickLater(Child<QPushButton>(dialog, "start"));
    });
  }

  std::vector<uint8_t> Received(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(platform::ReadWholeFile(env.root / ("in/" + name), bytes)) << name;
    return bytes;
  }

  bool busySeen = false;
  bool receivingStarted = false;
  std::string receivingCaption;
};

TEST_F(MachineDialogs, UploadDataListsTheMachinesDesignsAndReceivesTheTickedOnesByteForByte) {
  const std::vector<uint8_t> rose = lptest::Design(300, 1);
  const std::vector<uint8_t> bird = lptest::Design(40, 2);
  const std::vector<uint8_t> cat = lptest::Design(900, 3);
  machine.AddDesign(1, "Rose.qnf", rose);
  machine.AddDesign(1, "Bird.PTN", bird);
  machine.AddDesign(1, "Cat", cat);
  machine.AddDesign(2, "OnCard.qnf", lptest::Design(10, 4));
  std::filesystem::create_directories(env.root / "in");

  std::vector<std::string> listed;
  std::string caption, counterBefore, counterAfter;
  bool actionBefore = true;
  bool acted = false;
  Every([&] {
    QDialog* dialog = Ready("receiveDesigns");
    if (!dialog || acted) return;
    acted = true;
    caption = dialog->windowTitle().toStdString();
    auto* list = Child<QTreeWidget>(dialog, "list");
    listed = Names(list);
    counterBefore = Child<QLabel>(dialog, "counter")->text().toStdString();
    actionBefore = Child<QPushButton>(dialog, "action")->isEnabled();
    Child<QLineEdit>(dialog, "folder")->setText(QString::fromStdString((env.root / "in").string()));
    for (const char* name : {"Bird.PTN", "Cat"}) {
      if (QTreeWidgetItem* row = Row(list, name)) row->setCheckState(0, Qt::Checked);
    }
    counterAfter = Child<QLabel>(dialog, "counter")->text().toStdString();
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  StartReceiving();

  EXPECT_EQ(UploadData(nullptr), 1);
  EXPECT_EQ(caption, "Receive Designs - USB Disconnected");
  EXPECT_EQ(listed, (std::vector<std::string>{"Bird.PTN", "Cat", "Rose.qnf"}));
  EXPECT_EQ(counterBefore, "Selected designs : 0");
  EXPECT_FALSE(actionBefore);
  EXPECT_EQ(counterAfter, "Selected designs : 2");
  EXPECT_EQ(receivingCaption, "Receive Designs - USB Disconnected");
  EXPECT_TRUE(busySeen);
  EXPECT_EQ(GetTransferStatus(), 0);
  EXPECT_EQ(Received("Bird.PTN"), bird);
  EXPECT_EQ(Received("Cat.qnf"), cat);
  EXPECT_FALSE(std::filesystem::exists(env.root / "in/Rose.qnf"));
  EXPECT_EQ(env.boxes.Count(), 0u);
  EXPECT_EQ(machine.Designs(1).size(), 3u) << "receiving leaves the machine's designs";
}

// A file of a ticked design's name already in the folder is the user's: No to replacing it
// keeps that one file and receives every other ticked design, each the machine's own.
TEST_F(MachineDialogs, NoToReplacingAFileSkipsItAndReceivesTheRest) {
  const std::vector<uint8_t> a = lptest::Design(120, 1), b = lptest::Design(60, 2), c = lptest::Design(200, 3);
  machine.AddDesign(1, "A.qnf", a);
  machine.AddDesign(1, "B.qnf", b);
  machine.AddDesign(1, "C.qnf", c);
  const std::filesystem::path folder = env.root / "in";
  std::filesystem::create_directories(folder);
  const std::vector<uint8_t> users{'m', 'i', 'n', 'e'};
  ASSERT_FALSE(platform::WriteWholeFile(folder / "B.qnf", users));
  env.boxes.Script({platform::kIdNo});

  bool acted = false;
  Every([&] {
    QDialog* dialog = Ready("receiveDesigns");
    if (!dialog || acted) return;
    acted = true;
    Child<QLineEdit>(dialog, "folder")->setText(QString::fromStdString(folder.string()));
    Child<QPushButton>(dialog, "selectAll")->click();
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  StartReceiving();

  EXPECT_EQ(UploadData(nullptr), 1);
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].text, (folder / "B.qnf").string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(Received("A.qnf"), a);
  EXPECT_EQ(Received("B.qnf"), users);
  EXPECT_EQ(Received("C.qnf"), c);
}

TEST_F(MachineDialogs, ClosingTheReceivingDialogWhileTheMachineIsBusyAbortsAndWritesNothing) {
  machine.AddDesign(1, "Big.qnf", lptest::Design(20000, 1));
  machine.BusyFor(6, 1000);
  std::filesystem::create_directories(env.root / "in");
  bool acted = false, closed = false;
  Every([&] {
    if (QDialog* receiving = Shown("receiving")) {
      // Close while the busy machine is being asked again and again for the design.
      if (receivingStarted && !closed && !machine.TimesOf("cmd 6").empty()) {
        closed = true;
        receiving->close();
      }
      return;
    }
    QDialog* dialog = Ready("receiveDesigns");
    if (!dialog || acted) return;
    acted = true;
    Child<QLineEdit>(dialog, "folder")->setText(QString::fromStdString((env.root / "in").string()));
    Child<QPushButton>(dialog, "selectAll")->click();
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  StartReceiving();
  EXPECT_EQ(UploadData(nullptr), 1);
  EXPECT_TRUE(closed);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"Communication is aborted."});
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Receiving");
  EXPECT_TRUE(lptest::FilesUnder(env.root / "in").empty()) << "half a design is never written";
}

TEST_F(MachineDialogs, AnEmptyPlaceListsNothingAndThePcDesignCardHasNoOpenSaveFolder) {
  machine.AddDesign(4, "FromCard.qnf", lptest::Design(10, 4));
  std::vector<std::string> first, second;
  std::string counter;
  bool actionEnabled = true, openSaveEnabled = true;
  int stage = 0;
  Every([&] {
    QDialog* dialog = Ready("receiveDesigns", stage + 1);
    if (!dialog) return;
    if (stage == 0) {
      stage = 1;
      first = Names(Child<QTreeWidget>(dialog, "list"));
      counter = Child<QLabel>(dialog, "counter")->text().toStdString();
      actionEnabled = Child<QPushButton>(dialog, "action")->isEnabled();
      ClickLater(Child<QCheckBox>(dialog, "openSave"));
    } else if (stage == 1) {
      stage = 2;
      ClickLater(Child<QRadioButton>(dialog, "pcCard"));
    } else if (stage == 2) {
      stage = 3;
      second = Names(Child<QTreeWidget>(dialog, "list"));
      openSaveEnabled = Child<QCheckBox>(dialog, "openSave")->isEnabled();
      ClickLater(Child<QPushButton>(dialog, "cancel"));
    }
  });
  EXPECT_EQ(UploadData(nullptr), 1);
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(counter, "Selected designs : 0");
  EXPECT_FALSE(actionEnabled);
  EXPECT_EQ(second, std::vector<std::string>{"FromCard.qnf"});
  EXPECT_FALSE(openSaveEnabled);
  EXPECT_FALSE(receivingStarted);
  EXPECT_EQ(env.boxes.Count(), 0u);
}

TEST_F(MachineDialogs, DeleteDataDeletesTheTickedDesignsAndTheOthersMoveUp) {
  std::vector<std::vector<uint8_t>> designs;
  for (int i = 0; i < 5; ++i) {
    designs.push_back(lptest::Design(20 + 10 * i, static_cast<uint8_t>(i)));
    machine.AddDesign(1, std::string(1, static_cast<char>('A' + i)) + ".qnf", designs.back());
  }
  env.boxes.Script({platform::kIdYes});
  std::string caption;
  bool acted = false, progressSeen = false;
  Every([&] {
    if (Shown("deleteProgress")) progressSeen = true;
    QDialog* dialog = Ready("deleteDesigns");
    if (!dialog || acted) return;
    acted = true;
    caption = dialog->windowTitle().toStdString();
    auto* list = Child<QTreeWidget>(dialog, "list");
    for (const char* name : {"B.qnf", "D.qnf"}) Row(list, name)->setCheckState(0, Qt::Checked);
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  EXPECT_EQ(DeleteData(nullptr), 1);
  EXPECT_EQ(caption, "Delete Designs - USB Disconnected");
  EXPECT_TRUE(progressSeen);
  EXPECT_TRUE(busySeen);
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].text, "Are you sure?");
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Delete");
  std::vector<std::string> left;
  for (const vtest::StoredDesign& design : machine.Designs(1)) left.push_back(design.name);
  EXPECT_EQ(left, (std::vector<std::string>{"A.qnf", "C.qnf", "E.qnf"}));

  // E is the machine's third design now: the next list asks for it by its new number.
  steps.resize(1);
  std::filesystem::create_directories(env.root / "in");
  std::vector<std::string> listed;
  acted = false;
  Every([&] {
    QDialog* dialog = Ready("receiveDesigns");
    if (!dialog || acted) return;
    acted = true;
    auto* list = Child<QTreeWidget>(dialog, "list");
    listed = Names(list);
    Child<QLineEdit>(dialog, "folder")->setText(QString::fromStdString((env.root / "in").string()));
    Row(list, "E.qnf")->setCheckState(0, Qt::Checked);
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  StartReceiving();
  EXPECT_EQ(UploadData(nullptr), 1);
  EXPECT_EQ(listed, (std::vector<std::string>{"A.qnf", "C.qnf", "E.qnf"}));
  EXPECT_EQ(Received("E.qnf"), designs[4]);
}

TEST_F(MachineDialogs, SayingNoToTheQuestionDeletesNothing) {
  machine.AddDesign(1, "A.qnf", lptest::Design(20, 1));
  env.boxes.Script({platform::kIdNo});
  bool acted = false;
  Every([&] {
    QDialog* dialog = Ready("deleteDesigns");
    if (!dialog) return;
    if (!acted) {
      acted = true;
      Child<QPushButton>(dialog, "selectAll")->click();
      ClickLater(Child<QPushButton>(dialog, "action"));
    } else if (env.boxes.Count() == 1) {
      ClickLater(Child<QPushButton>(dialog, "cancel"));
    }
  });
  EXPECT_EQ(DeleteData(nullptr), 1);
  EXPECT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_FALSE(busySeen);
}

TEST_F(MachineDialogs, ClosingTheDeleteProgressStopsADeleteTheMachineKeepsRefusing) {
  machine.AddDesign(1, "A.qnf", lptest::Design(20, 1));
  machine.AddDesign(1, "B.qnf", lptest::Design(20, 2));
  machine.RefuseCommand(7, 1);
  // Yes to the question; then every "Now busy" box is answered with Retry.
  env.boxes.Script({platform::kIdYes});
  bool acted = false, closed = false;
  Every([&] {
    if (QDialog* progress = Shown("deleteProgress")) {
      if (!closed && env.boxes.Count() >= 3) {
        closed = true;
        progress->close();
      }
      return;
    }
    QDialog* dialog = Ready("deleteDesigns");
    if (!dialog || acted) return;
    acted = true;
    Child<QPushButton>(dialog, "selectAll")->click();
    ClickLater(Child<QPushButton>(dialog, "action"));
  });
  EXPECT_EQ(DeleteData(nullptr), 1);
  EXPECT_TRUE(closed);
  const std::vector<std::string> texts = env.Texts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[1], "Now busy, try again later.\n");
  EXPECT_EQ(texts.back(), "Communication is aborted.");
  EXPECT_EQ(env.boxes.Shown().back().caption, "Delete");
  EXPECT_EQ(machine.Designs(1).size(), 2u);
}

TEST_F(MachineDialogs, ThePreviewDrawsTheFocusedDesignAndLeavesOtherNamesAlone) {
  machine.AddDesign(1, "Rose.qnf", lptest::Design(400, 5));
  machine.AddDesign(1, "Notes.txt", lptest::Design(400, 6));
  int stage = 0;
  int previewsDone = 0;
  bool shownRose = false, whiteAfterNotes = true, sameAfterNotes = false, clearedAfterRefusal = false;
  std::string hoop;
  QImage roseImage;
  Every([&] {
    QDialog* dialog = Ready("receiveDesigns", 1, previewsDone);
    if (!dialog) return;
    auto* list = Child<QTreeWidget>(dialog, "list");
    auto* preview = Child<QLabel>(dialog, "preview");
    switch (stage) {
      case 0:
        stage = 1;
        whiteAfterNotes = AllWhite(preview);  // blank before any preview
        list->setCurrentItem(Row(list, "Rose.qnf"));
        ++previewsDone;
        ClickLater(Child<QPushButton>(dialog, "showPreview"));
        break;
      case 1:
        stage = 2;
        shownRose = !AllWhite(preview);
        hoop = Child<QLabel>(dialog, "hoop")->text().toStdString();
        roseImage = preview->pixmap().toImage();
        // Auto Preview fetches as soon as another row takes the focus.
        Child<QCheckBox>(dialog, "autoPreview")->setChecked(true);
        ++previewsDone;
        list->setCurrentItem(Row(list, "Notes.txt"));
        break;
      case 2:
        stage = 3;
        sameAfterNotes = preview->pixmap().toImage() == roseImage;
        machine.RefuseCommand(6, 1);
        ++previewsDone;
        list->setCurrentItem(Row(list, "Rose.qnf"));
        break;
      case 3:
        stage = 4;
        clearedAfterRefusal = AllWhite(preview);
        ClickLater(Child<QPushButton>(dialog, "cancel"));
        break;
      default:
        break;
    }
  });
  EXPECT_EQ(UploadData(nullptr), 1);
  EXPECT_EQ(stage, 4);
  EXPECT_TRUE(whiteAfterNotes);
  EXPECT_TRUE(shownRose);
  EXPECT_EQ(hoop, "Normal Hoop");
  EXPECT_TRUE(sameAfterNotes) << "a name without qnf or ptn leaves the preview as it was";
  EXPECT_TRUE(clearedAfterRefusal);
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Receiving Preview Data");
  EXPECT_FALSE(receivingStarted);
}

TEST_F(MachineDialogs, TheSendPanelPreviewsTheDesignChosenInThePicker) {
  const std::string rose = env.WriteDesign("Rose.qnf", lptest::Design(300, 5));
  (void)env.WriteDesign("Broken.qnf", {1, 2, 3});
  int stage = 0;
  std::string roseTip, brokenTip;
  bool roseDrawn = false, brokenCleared = false;
  Every([&] {
    QDialog* panel = Shown("sendPanel");
    if (!panel) return;
    auto* picker = Child<QFileDialog>(panel, "picker");
    auto* preview = Child<QLabel>(panel, "preview");
    if (stage == 0) {
      if (ChooseInPicker(picker, "Rose.qnf")) stage = 1;
    } else if (stage == 1) {
      roseTip = preview->toolTip().toStdString();
      roseDrawn = !AllWhite(preview);
      if (ChooseInPicker(picker, "Broken.qnf")) stage = 2;
    } else if (stage == 2) {
      brokenTip = preview->toolTip().toStdString();
      brokenCleared = AllWhite(preview);
      stage = 3;
      panel->reject();
    }
  });
  std::string folder = (env.root / "designs").string();
  folder.resize(260, '\0');
  EXPECT_EQ(TransferQNFFiles(nullptr, folder.data(), static_cast<unsigned>(folder.size())), 1);
  EXPECT_EQ(stage, 3);
  EXPECT_EQ(roseTip, rose);
  EXPECT_TRUE(roseDrawn);
  EXPECT_EQ(brokenTip, "Preview");
  EXPECT_TRUE(brokenCleared);
}

}  // namespace
