// Send Designs and Write Designs of the hoop layout end to end: the position files go
// through Linkpanel's Send Designs dialog to the simulated machine on a pseudo-terminal,
// and through the card writer onto a fake card. The modal dialogs are worked from a timer,
// as a user would work them.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "hooplayout/position_send.h"
#include "hooplayout/tests/design_builder.h"
#include "hooplayout/ui/linkpanel_position_transfer.h"
#include "layoutcore/tests/fake_document_host.h"
#include "link/panel/linkpanel.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/fake_card.h"
#include "testing/fixed_clock.h"
#include "testing/machine/machine_simulator.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

uint8_t B(int v) { return static_cast<uint8_t>(v); }

QDialog* Shown(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) {
      return qobject_cast<QDialog*>(widget);
    }
  }
  return nullptr;
}

std::vector<std::string> FilesUnder(const fs::path& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file()) files.push_back(it->path().string());
  }
  return files;
}

class PositionTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    fs::create_directories(dir / "layouts");
    doc.SetPathName((dir / "layouts" / "Meadow.arg").string());
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
    unsetenv("XDG_DATA_HOME");
    platform::SetProfileRoot({});
    QApplication::processEvents();
    EXPECT_EQ(GetTransferStatus(), 0);
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }

  void Add(int32_t startX, int32_t startY, const Bytes& stitches, std::vector<int16_t> codes) {
    doc.AddDesign(hltest::Design("d", startX, startY, stitches, codes));
    doc.SetDesignCount(doc.GetDesignCount() + 1);
  }
  // The position files as the sender makes them, for comparison.
  std::array<Bytes, 2> ExpectedImages(char letter) {
    const auto groups = hooplayout::SplitIntoPositions(doc.GetDesignList());
    std::array<Bytes, 2> images;
    for (int g = 0; g < 2; ++g) {
      hooplayout::CPositionCombiner combiner;
      EXPECT_EQ(combiner.Combine(groups[g], g + 1), hooplayout::CombineResult::kOk);
      images[g] = combiner.FileImage(letter, clock.Now());
    }
    return images;
  }
  // Files the command left beside the layout or in the work folder.
  std::vector<std::string> Leftovers() {
    std::vector<std::string> files = FilesUnder(dir / "data");
    for (const std::string& f : FilesUnder(dir / "layouts")) files.push_back(f);
    return files;
  }

  // Presses Write in the card writer dialog once it is up.
  void ClickWriteInTheCardDialog() {
    steps.push_back([] {
      QDialog* dialog = nullptr;
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<QDialog*>(widget);
        if (d && d->isVisible() && d->windowTitle() == "Write Designs to ATA PC Card") dialog = d;
      }
      if (!dialog) return;
      for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text().contains("Write")) {
          QTimer::singleShot(0, button, [button] { button->click(); });
          return;
        }
      }
    });
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock{platform::LocalTime{2026, 12, 9, 6, 30, 0}};
  vtest::MachineSimulator machine;
  vtest::FakeCardVolumes volumes;
  fs::path card = volumes.Add();
  vtest::ScriptedMachineVersion version;
  edtest::FakeDocumentHost host;
  hooplayout::CVantleDoc doc{host};
  hooplayout_ui::LinkpanelPositionTransfer transfer{nullptr, volumes, version};
  hooplayout::CPositionSender sender{doc, transfer};
  QTimer ticker;
  std::vector<std::function<void()>> steps;
};

TEST_F(PositionTransfer, SendDesignsPutsBothPositionsOnTheMachineByteForByte) {
  Add(300, 150, {10, 0, 0, 10, 0x80, 0x02, 50, 0, 5, 5, 0x80, 0x01, 0, 0, 3, 3, 0x80, 0x10}, {2, 7});
  Add(120, 250, {20, 0, 0, B(-20), 0x80, 0x10}, {4});
  Add(60, 100, {0, 30, 30, 0, 0x80, 0x10}, {9});
  const auto expected = ExpectedImages('A');
  bool started = false;
  steps.push_back([&] {
    QDialog* dialog = Shown("sendDesigns");
    if (!dialog || started) return;
    started = true;
    QPushButton* start = dialog->findChild<QPushButton*>("start");
    QTimer::singleShot(0, start, [start] { start->click(); });
  });
  EXPECT_TRUE(sender.SendDesigns());
  EXPECT_TRUE(started);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].bytes, expected[0]);
  EXPECT_EQ(stored[1].bytes, expected[1]);
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(platform::Profile("Tessaly").GetInt("Project", "Name", 0), 'A');
  EXPECT_EQ(stored[0].name, "Meadow1.qnf");
  EXPECT_EQ(stored[1].name, "Meadow2.qnf");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionTransfer, WriteDesignsPutsThePositionFilesOnTheCard) {
  Add(320, 200, {10, 0, 0x80, 0x10}, {2});
  const auto expected = ExpectedImages('A');
  ClickWriteInTheCardDialog();
  EXPECT_TRUE(sender.WriteDesigns());
  Bytes onCard;
  EXPECT_FALSE(platform::ReadWholeFile(card / "PC_Link" / "Meadow1.qnf", onCard, 1 << 20));
  EXPECT_EQ(onCard, expected[0]);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Writing onto Card has completed.");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionTransfer, ACardPulledAfterTheFirstPositionIsAFailedWriteWithNothingOffTheCard) {
  Add(300, 150, {10, 0, 0x80, 0x10}, {2});
  Add(60, 100, {0, 30, 0x80, 0x10}, {9});
  volumes.PullAfter(card, 1);
  ClickWriteInTheCardDialog();
  EXPECT_FALSE(sender.WriteDesigns());
  EXPECT_EQ(vtest::ShownTexts(boxes),
            (std::vector<std::string>{"Failed to save a design.\n"
                                      "Is the ATA PC Card correctly inserted into your PC or "
                                      "Adapter's card slot?",
                                      "Writing onto Card has failed."}));
  EXPECT_TRUE(fs::is_empty(card));
  EXPECT_EQ(FilesUnder(volumes.Pulled(card)),
            std::vector<std::string>{(volumes.Pulled(card) / "PC_Link" / "Meadow1.qnf").string()});
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

}  // namespace
