// Send a Design end to end: the design goes through Linkpanel's Send Designs dialog to the
// simulated machine on a pseudo-terminal, the dialog worked from a timer as a user would.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <filesystem>

#include "digitizer/pictorel_send_link.h"
#include "digitizer/pictorel_send_piece.h"
#include "link/panel/linkpanel.h"
#include "platform/profile.h"
#include "testing/fixed_clock.h"
#include "testing/machine/machine_simulator.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

QDialog* Shown(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->objectName() == objectName) return qobject_cast<QDialog*>(widget);
  }
  return nullptr;
}

class PictorelSendLink : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    machine.Start();
    QObject::connect(&ticker, &QTimer::timeout, [this] {
      QDialog* dialog = Shown("sendDesigns");
      if (!dialog || started) return;
      started = true;
      QPushButton* start = dialog->findChild<QPushButton*>("start");
      QTimer::singleShot(0, start, [start] { start->click(); });
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

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock{platform::LocalTime{2026, 12, 9, 7, 15, 0}};
  vtest::MachineSimulator machine;
  digitizer::CStitchDesign design;
  digitizer::LinkpanelPictorelLink link;
  digitizer::CPictorelSender sender{design, link, dir.Path()};
  QTimer ticker;
  bool started = false;
};

TEST_F(PictorelSendLink, ADesignUnderTheLimitReachesTheMachineByteForByte) {
  vtest::StitchStreamBuilder b;
  b.Stitch(10, 0).Stitch(0, 10).ColourChange().Stitch(-5, -5).End();
  design.ResetStitches();
  std::memcpy(design.Record()->Stitches(), b.Bytes().data(), b.Bytes().size());
  design.Record()->SetThreadCode(0, 3);
  design.Record()->SetThreadCode(1, 5);
  Bytes expected;
  ASSERT_GT(design.BuildQnfImage(design.GetStitchCount(), expected), 0u);

  int tag = '1';
  EXPECT_TRUE(sender.SendDesign((dir / "rose.pct").string(), "rose.pct", tag));
  EXPECT_TRUE(started);
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].bytes, expected);
  EXPECT_EQ(stored[0].name, "rose.qnf");
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PictorelSendLink, ASplitDesignReachesTheMachineAsTaggedPiecesAndLeavesNoFiles) {
  // A machine of the newer program takes 65,535 pairs: three blocks of 30,000 go as two pieces.
  platform::Profile("Pictorel").WriteInt("Rs-232c", "Protocol Ver", 2);
  vtest::StitchStreamBuilder b;
  for (int k = 0; k < 3; ++k) {
    if (k > 0) b.ColourChange();
    for (int i = 0; i < 30000; ++i) b.Stitch(0, k == 1 ? -1 : 1);
  }
  b.End();
  design.ResetStitches();
  std::memcpy(design.Record()->Stitches(), b.Bytes().data(), b.Bytes().size());
  std::vector<Bytes> expected(2);
  int nextBlock = 1;
  for (int k = 1; k <= 2; ++k) ASSERT_GT(digitizer::CutPiece(design, nextBlock, expected[k - 1], 65535, '8', k), 0u);
  EXPECT_EQ(nextBlock, 0);

  int tag = '8';
  EXPECT_TRUE(sender.SendDesign((dir / "rose.pct").string(), "rose.pct", tag));
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].bytes, expected[0]);
  EXPECT_EQ(stored[1].bytes, expected[1]);
  EXPECT_EQ(tag, '9');
  EXPECT_FALSE(fs::exists(dir / "Sendaro.tmp"));
  EXPECT_FALSE(fs::exists(dir / "rose#1.qnf"));
  EXPECT_FALSE(fs::exists(dir / "rose#2.qnf"));
  ASSERT_EQ(boxes.Count(), 1u);  // the split's confirmation only
  EXPECT_EQ(boxes.Shown()[0].caption, "Confirmation");
}

}  // namespace
