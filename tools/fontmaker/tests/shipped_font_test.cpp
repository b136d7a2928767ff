// The font the build makes, as Brodera's monogram dialog finds it beside the program.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "layoutcore/monogram/monogram_dialog_rules.h"
#include "platform/profile.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_walker.h"
#include "testing/temp_dir.h"

using editor::MonogramDialogKind;
using editor::MonogramDialogRules;
using editor::MonogramPoint;

namespace {

class ShippedFont : public ::testing::Test {
 protected:
  ShippedFont() { platform::SetProfileRoot(profileDir_.Path()); }
  ~ShippedFont() override { platform::SetProfileRoot({}); }

  editor::MonogramDialogInput Input() {
    editor::MonogramDialogInput input;
    input.programFolder = VELINOR_PROGRAM_FOLDER;
    input.record = &record_;
    return input;
  }

  // The text lettered on a line into the record, as the dialog's OK makes it.
  void LetterOnALine(MonogramDialogRules& rules, const std::string& text) {
    ASSERT_TRUE(rules.Init(Input()));
    rules.ChooseLayout(1);
    rules.SetEditText(text);
    rules.Register();
    editor::MonogramBlock block;
    ASSERT_TRUE(rules.Engine().MakeStitches(record_, block));
  }
  std::span<const uint8_t> RecordStitches() const {
    return std::span<const uint8_t>(record_.Stitches(), 2 * static_cast<std::size_t>(record_.PairCount()));
  }

  vtest::TempDir profileDir_;
  vtest::RecordingMessageBox box_;
  design::StitchRecord record_;
};

}  // namespace

TEST_F(ShippedFont, TheMonogramDialogListsItAndTakesEveryPrintableCharacter) {
  MonogramDialogRules rules(MonogramDialogKind::kLargeHoop, "Brodera");
  ASSERT_TRUE(rules.Init(Input()));
  ASSERT_EQ(rules.FontNames(), (std::vector<std::string>{"Velinor Sans"}));
  for (int c = 33; c < 127; ++c) EXPECT_TRUE(rules.AcceptsCharacter(static_cast<unsigned char>(c))) << c;
  EXPECT_TRUE(rules.AcceptsCharacter(0xE9));  // e with an acute accent
  EXPECT_TRUE(rules.AcceptsCharacter(' '));
}

TEST_F(ShippedFont, AbcOnALineAndOnBothArcsStitchesCleanlyAndUpright) {
  struct Layout {
    int type;
    MonogramPoint middle;  // P2 of an arc
  };
  for (const Layout layout : {Layout{1, {}}, Layout{2, {140, 150}}, Layout{2, {140, 250}}}) {
    MonogramDialogRules rules(MonogramDialogKind::kLargeHoop, "Brodera");
    ASSERT_TRUE(rules.Init(Input()));
    rules.ChooseLayout(layout.type);
    rules.Engine().arcPoints[1] = layout.middle;
    rules.SetEditText("Abc");
    rules.Register();
    ASSERT_EQ(rules.Engine().Glyphs().size(), 3u);
    editor::MonogramBlock block;
    ASSERT_TRUE(rules.Engine().MakeStitches(record_, block)) << layout.type;
    EXPECT_EQ(box_.Count(), 0u);
    const vtest::WalkResult walk = vtest::WalkStitches(std::span<const uint8_t>(record_.Stitches(), 2 * static_cast<std::size_t>(record_.PairCount())));
    ASSERT_TRUE(walk.ended) << walk.error;
    EXPECT_EQ(walk.longStitches, 0);
    EXPECT_EQ(walk.unknownControls, 0);
    EXPECT_GT(walk.sewn.size(), 100u);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GT(std::cos(block.Angle(k) * M_PI / 180), 0.5) << layout.type << " " << layout.middle.y << " letter " << k;
    }
  }
}

TEST_F(ShippedFont, LetteringKeepsEveryStitchThroughReCentring) {
  MonogramDialogRules rules(MonogramDialogKind::kLargeHoop, "Brodera");
  LetterOnALine(rules, "Abc");
  // The letters as written before re-centring, read the machine's way, against the design.
  std::vector<uint8_t> letters(200000, 0);
  std::size_t written = 0;
  ASSERT_TRUE(rules.Engine().EncodeLetters(letters, {700, 1000}, written));
  letters.resize(written);
  letters.insert(letters.end(), {0x80, 0x10});
  auto sewnSteps = [](std::span<const uint8_t> bytes) {
    std::vector<std::pair<int, int>> steps;
    for (const vtest::SewnSegment& s : vtest::WalkStitches(bytes).sewn) {
      if (s.x1 != s.x0 || s.y1 != s.y0) steps.emplace_back(s.x1 - s.x0, s.y1 - s.y0);
    }
    return steps;
  };
  const auto before = sewnSteps(letters);
  const auto after = sewnSteps(RecordStitches());
  ASSERT_GT(before.size(), 100u);
  // The first letter's first stitch is still sewn, and so is every one after it.
  EXPECT_EQ(after, before);
}

TEST_F(ShippedFont, AbgSevenOnALineSewsNoStitchLongerThanTheWeaves) {
  MonogramDialogRules rules(MonogramDialogKind::kLargeHoop, "Brodera");
  LetterOnALine(rules, "Abg 7");
  const vtest::WalkResult walk = vtest::WalkStitches(RecordStitches());
  ASSERT_TRUE(walk.ended) << walk.error;
  ASSERT_GT(walk.sewn.size(), 1000u);
  // Counters, bowls and the gaps between strokes are jumped, never sewn across: no stitch
  // is longer than a brick of the weave (4 mm) taken into its next row.
  double longest = 0;
  for (const vtest::SewnSegment& s : walk.sewn) longest = std::max(longest, std::hypot(s.x1 - s.x0, s.y1 - s.y0));
  EXPECT_LE(longest, 41.1);
}
