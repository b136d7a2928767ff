#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include "design/ui/card_write_dlg.h"
#include "design/ui/linkpanel_machine_version.h"
#include "design/ui/write_card_m.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/fake_card.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"

namespace {

namespace fs = std::filesystem;

class CardDialogs : public ::testing::Test {
 protected:
  QString PcDesign(const std::string& name, int32_t pairs, int32_t hoop = 0) {
    EXPECT_FALSE(platform::WriteWholeFile(pc_ / name, vtest::BuildCardDesign(pairs, hoop)));
    return QString::fromStdString((pc_ / name).string());
  }
  QString PcFolder() const { return QString::fromStdString(pc_.Path().string()); }
  static bool Inked(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c != Qt::white && c != QColor(220, 220, 220)) return true;
      }
    }
    return false;
  }

  vtest::RecordingMessageBox boxes_;
  vtest::TempDir pc_;
  vtest::FakeCardVolumes volumes_;
  fs::path disk_ = volumes_.Add(1ull << 40, false, "DATA");
  fs::path card_ = volumes_.Add();
  vtest::ScriptedMachineVersion version_;
};

TEST_F(CardDialogs, TheCardWriterOffersTheDrivesAndWritesTheListOnWrite) {
  PcDesign("rose 01#a.qnf", 10);
  const fs::path list = pc_ / "SendQnf.lst";
  ASSERT_FALSE(transfer::WriteTransferListFile(list, {(pc_ / "rose 01#a.qnf").string()}));
  design_ui::CCardWriteDlg dialog(nullptr, volumes_, version_);
  dialog.SetListPath(QString::fromStdString(list.string()));
  EXPECT_EQ(dialog.windowTitle(), "Write Designs to ATA PC Card");
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_EQ(dialog.DriveBox()->count(), 2);
    EXPECT_EQ(dialog.DriveBox()->currentIndex(), 1);
    EXPECT_EQ(dialog.DriveBox()->itemText(0).toStdString(), disk_.string() + " (DATA)");
    dialog.OpenSaveBox()->setChecked(true);
    dialog.WriteButton()->click();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(fs::exists(card_ / "EMB_FILE" / "rose_01#a.qnf"));
  EXPECT_EQ(volumes_.Flushed(), std::vector<fs::path>{card_});
}

TEST_F(CardDialogs, TheCardWriterIsWideEnoughForItsCaption) {
  design_ui::CCardWriteDlg dialog(nullptr, volumes_, version_);
  dialog.show();
  // Title bars draw their caption in a bold face beside three buttons of their own.
  QFont bold = dialog.font();
  bold.setBold(true);
  constexpr int kThreeTitleBarButtons = 3 * 32;
  EXPECT_GE(dialog.width(),
            QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + kThreeTitleBarButtons);
  dialog.reject();
}

TEST_F(CardDialogs, TheCardWriterWithoutACardEndsWhenTheUserCancels) {
  vtest::FakeCardVolumes noCard;
  noCard.Add(1ull << 40, false);
  design_ui::CCardWriteDlg dialog(nullptr, noCard, version_);
  boxes_.Script({platform::kIdCancel});
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].owner, static_cast<platform::WindowHandle>(static_cast<QWidget*>(&dialog)));
}

TEST_F(CardDialogs, TheCardWriterStaysOpenWithoutADrive) {
  design_ui::CCardWriteDlg dialog(nullptr, volumes_, version_);
  QTimer::singleShot(0, &dialog, [&] {
    dialog.DriveBox()->setCurrentIndex(-1);
    dialog.WriteButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "The Card drive is not selected.\nSelect the ATA PC Card's drive.");
}

TEST_F(CardDialogs, TheCardManagerWritesPreviewsAndStaysOpen) {
  design_ui::CWriteCardM dialog(nullptr, volumes_, version_, PcFolder());
  EXPECT_EQ(dialog.windowTitle(), "Write Designs, Read and Erase");
  EXPECT_EQ(dialog.nameFilters(), QStringList{"Embroidery Files(*.qnf)"});
  ASSERT_TRUE(dialog.Start());
  dialog.open();
  EXPECT_EQ(dialog.DriveBox()->currentIndex(), 1);
  EXPECT_EQ(dialog.CountLabel()->text(), "No design");

  const QString large = PcDesign("large.qnf", 40, 2);
  emit dialog.currentChanged(large);
  EXPECT_EQ(dialog.HoopLabel()->text(), "Large Hoop");
  EXPECT_TRUE(Inked(dialog.Preview().Picture()));

  dialog.selectFile(large);
  dialog.WriteButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(fs::exists(card_ / "PC_Link" / "large.qnf"));
  EXPECT_EQ(dialog.CountLabel()->text(), "1  Design");
  ASSERT_EQ(dialog.CardList()->topLevelItemCount(), 1);
  EXPECT_EQ(dialog.CardList()->topLevelItem(0)->text(0).toStdString(),
            (card_ / "PC_Link" / "large.qnf").string());
  EXPECT_EQ(dialog.ChosenFolder(), PcFolder());

  // Open Folder only remembers; nothing more is written.
  dialog.selectFile(PcDesign("other.qnf", 5));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(fs::exists(card_ / "PC_Link" / "other.qnf"));
  EXPECT_EQ(boxes_.Count(), 0u);
  dialog.reject();
}

TEST_F(CardDialogs, TheCardListPreviewsFollowKeysAndErasesAndReads) {
  fs::create_directories(card_ / "PC_Link");
  for (auto [name, hoop] : {std::pair{"a.qnf", 1}, std::pair{"b.qnf", 2}}) {
    ASSERT_FALSE(platform::WriteWholeFile(card_ / "PC_Link" / name, vtest::BuildCardDesign(9, hoop)));
  }
  design_ui::CWriteCardM dialog(nullptr, volumes_, version_, PcFolder());
  ASSERT_TRUE(dialog.Start());
  dialog.show();
  QTreeWidget* list = dialog.CardList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  EXPECT_EQ(dialog.HoopLabel()->text(), "Small Hoop");
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(list, &down);
  EXPECT_EQ(dialog.HoopLabel()->text(), "Large Hoop");
  EXPECT_TRUE(Inked(dialog.Preview().Picture()));

  vtest::TempDir target;
  dialog.SetFolderChooser([&](const std::string&, const fs::path&) { return target.Path(); });
  list->topLevelItem(1)->setSelected(true);
  dialog.ReadButton()->click();
  EXPECT_TRUE(fs::exists(target / "b.qnf"));

  boxes_.Script({platform::kIdYes});
  dialog.EraseButton()->click();
  EXPECT_FALSE(fs::exists(card_ / "PC_Link" / "b.qnf"));
  EXPECT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(dialog.CountLabel()->text(), "1  Design");

  dialog.OpenSaveBox()->setChecked(true);
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_EQ(dialog.CountLabel()->text(), "No design");
  dialog.reject();
}

TEST_F(CardDialogs, TheCardManagerErasesNothingOfAnotherCardPutIntoTheReader) {
  fs::create_directories(card_ / "PC_Link");
  for (const char* name : {"a.qnf", "b.qnf"}) {
    ASSERT_FALSE(platform::WriteWholeFile(card_ / "PC_Link" / name, vtest::BuildCardDesign(9)));
  }
  design_ui::CWriteCardM dialog(nullptr, volumes_, version_, PcFolder());
  ASSERT_TRUE(dialog.Start());
  dialog.show();
  ASSERT_EQ(dialog.CardList()->topLevelItemCount(), 2);

  // The user swaps cards in the reader; the other card holds an "a.qnf" of its own.
  volumes_.PutInAnother(card_);
  fs::create_directories(card_ / "PC_Link");
  const std::vector<uint8_t> theirs = vtest::BuildCardDesign(30, 2);
  for (const char* name : {"a.qnf", "c.qnf"}) {
    ASSERT_FALSE(platform::WriteWholeFile(card_ / "PC_Link" / name, theirs));
  }
  dialog.CardList()->topLevelItem(0)->setSelected(true);
  boxes_.Script({platform::kIdYes});
  dialog.EraseButton()->click();
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text,
            "The ATA PC Card or its designs have changed since the list was read.\n"
            "The list has been read again; nothing was erased or replaced.");
  std::vector<uint8_t> kept;
  ASSERT_FALSE(platform::ReadWholeFile(card_ / "PC_Link" / "a.qnf", kept));
  EXPECT_EQ(kept, theirs);
  ASSERT_EQ(dialog.CardList()->topLevelItemCount(), 2);
  EXPECT_EQ(dialog.CardList()->topLevelItem(1)->text(0).toStdString(),
            (card_ / "PC_Link" / "c.qnf").string());
  EXPECT_EQ(dialog.CountLabel()->text(), "2  Designs");
  dialog.reject();
}

TEST_F(CardDialogs, AClickOnADamagedCardDesignSaysSoOnce) {
  fs::create_directories(card_ / "PC_Link");
  ASSERT_FALSE(platform::WriteWholeFile(card_ / "PC_Link" / "a.qnf", vtest::BuildCardDesign(9)));
  vtest::QnfFileSpec lying;
  lying.stitches = {1, 1, 0x80, 0x10};
  lying.pairCount = 500;  // more pairs than the file holds
  ASSERT_FALSE(platform::WriteWholeFile(card_ / "PC_Link" / "b.qnf", vtest::BuildQnfFile(lying)));
  design_ui::CWriteCardM dialog(nullptr, volumes_, version_, PcFolder());
  ASSERT_TRUE(dialog.Start());
  dialog.show();
  QTreeWidget* list = dialog.CardList();
  list->setCurrentItem(list->topLevelItem(0));
  ASSERT_EQ(boxes_.Count(), 0u);
  const QPoint at = list->visualItemRect(list->topLevelItem(1)).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
  }
  ASSERT_EQ(list->currentItem(), list->topLevelItem(1));
  EXPECT_EQ(vtest::ShownTexts(boxes_),
            std::vector<std::string>{"There is an error in a file.\nQuit operation."});
  EXPECT_FALSE(Inked(dialog.Preview().Picture()));
  dialog.reject();
}

TEST(LinkpanelMachineVersionTest, ReadsTheStoredVersionAndAsksNothingWhenItIsTwo) {
  vtest::TempDir profiles;
  platform::SetProfileRoot(profiles.Path());
  design_ui::LinkpanelMachineVersion version;
  EXPECT_EQ(version.VersionCode(), -1);
  ASSERT_TRUE(platform::Profile("Pictorel").WriteInt("Rs-232c", "Protocol Ver", 2));
  EXPECT_EQ(version.VersionCode(), 2);
  vtest::RecordingMessageBox boxes;
  EXPECT_EQ(version.CheckVersion(nullptr), 1);
  EXPECT_EQ(boxes.Count(), 0u);
  platform::SetProfileRoot({});
}

}  // namespace
