#include "hooplayout/vantle_monogram_rules.h"

#include <gtest/gtest.h>

#include "hooplayout/lettering_qnf_file.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/fixed_clock.h"
#include "testing/monogram_font_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

using editor::MonogramOkOutcome;
using editor::MonogramPoint;
using hooplayout::VantleMonogramRules;
using vtest::StitchStreamBuilder;

namespace {

std::vector<uint8_t> Hook() { return StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes(); }

// Where the leading jumps of a stream take the needle from its start, wire y upward.
MonogramPoint FirstLanding(const design::LayoutStitchRecord& record) {
  MonogramPoint p;
  const uint8_t* s = record.Stitches();
  while (s[0] == design::kStitchEscape && s[1] == design::kJump) {
    p.x += static_cast<int8_t>(s[2]);
    p.y += static_cast<int8_t>(s[3]);
    s += 4;
  }
  return p;
}

class VantleMonogram : public ::testing::Test {
 protected:
  VantleMonogram() {
    platform::SetProfileRoot(profileDir_.Path());
    VantleMonogramRules::ResetNameCounter();
    vtest::MonogramFontBuilder().Glyph('A', Hook()).Glyph('B', Hook()).WriteTo(fonts_ / "Block.mnf");
  }
  ~VantleMonogram() override { platform::SetProfileRoot({}); }

  hooplayout::VantleMonogramInput NewInput() {
    hooplayout::VantleMonogramInput input;
    input.programFolder = fonts_.Path();
    input.record = &record_;
    input.threadCode = 7;
    return input;
  }
  void Letter(VantleMonogramRules& rules, const std::string& text, int layout = 0) {
    ASSERT_TRUE(rules.Init(NewInput()));
    rules.ChooseLayout(layout);
    rules.SetEditText(text);
    rules.Register();
  }

  vtest::TempDir profileDir_;
  vtest::TempDir fonts_;
  vtest::RecordingMessageBox box_;
  // The saved file carries its time of writing; a fixed clock keeps it equal to the image the
  // test builds afterwards, even across a second's turn.
  vtest::FixedClock clock_{{2026, 12, 9, 7, 30, 0}};
  design::LayoutStitchRecord record_;
};

}  // namespace

TEST_F(VantleMonogram, NoRecordEndsTheDialog) {
  VantleMonogramRules rules;
  hooplayout::VantleMonogramInput input = NewInput();
  input.record = nullptr;
  EXPECT_FALSE(rules.Init(input));
  EXPECT_EQ(box_.Shown().back().text, "There is not enough memory!");
}

TEST_F(VantleMonogram, FreeLetteringStartsFromItsOwnPointAndIsLeftForTheView) {
  VantleMonogramRules rules;
  Letter(rules, "AB");
  const MonogramPoint origin = rules.Engine().Glyphs()[0].origin;
  box_.Script({platform::kIdNo});
  ASSERT_EQ(rules.Ok({}), MonogramOkOutcome::kAccepted);
  EXPECT_EQ(rules.Name(), "Mono0001");
  EXPECT_EQ(record_.ColourCount(), 1);
  EXPECT_EQ(record_.ThreadCode(0), 7);
  EXPECT_EQ(record_.ThreadType(0), 13);
  EXPECT_EQ(record_.PairCount(), 0);  // the view counts the pairs when it re-centres
  EXPECT_EQ(FirstLanding(record_), (MonogramPoint{origin.x * 5 - 175, 260 - origin.y * 5}));
  const auto scan = hooplayout::ScanLetteringStream(record_.StitchArea());
  ASSERT_TRUE(scan);
  EXPECT_EQ(rules.OutputBlock().Character(0), 'A');
  EXPECT_EQ(platform::Profile("Tessaly").GetInt("Monogram", "FontSpace", -1), 1);
}

TEST_F(VantleMonogram, LineLetteringStartsFromThePathPoint) {
  VantleMonogramRules rules;
  Letter(rules, "AB", 1);
  box_.Script({platform::kIdNo});
  ASSERT_EQ(rules.Ok({}), MonogramOkOutcome::kAccepted);
  const MonogramPoint origin = rules.Engine().Glyphs()[0].origin;
  EXPECT_EQ(FirstLanding(record_), (MonogramPoint{origin.x * 5 - 710, 915 - origin.y * 5}));
}

TEST_F(VantleMonogram, SavingWritesThisProgramsFileAndRemembersNoFolder) {
  VantleMonogramRules rules;
  Letter(rules, "AB");
  vtest::TempDir out;
  box_.Script({platform::kIdYes});
  std::filesystem::path offered = "unset";
  ASSERT_EQ(rules.Ok([&](const std::filesystem::path& folder, const std::string&) {
              offered = folder;
              return std::optional<std::filesystem::path>(out / "Name.qnf");
            }),
            MonogramOkOutcome::kAccepted);
  EXPECT_TRUE(offered.empty());
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(out / "Name.qnf", written));
  EXPECT_EQ(written, hooplayout::LetteringQnfImage(record_));
  EXPECT_EQ(platform::Profile("Tessaly").GetString("Design Path", "MonoQnf", "none"), "none");

  box_.Script({platform::kIdYes});
  EXPECT_EQ(rules.Ok([&](const auto&, const auto&) {
              return std::optional<std::filesystem::path>(out / "missing" / "x.qnf");
            }),
            MonogramOkOutcome::kStay);
  EXPECT_EQ(box_.Shown().back().text, "File Error");
  EXPECT_EQ(box_.Shown().back().caption, "Error");
}

TEST_F(VantleMonogram, DeleteLeavesOkEnabledAndOkWithoutLettersCancels) {
  VantleMonogramRules rules;
  Letter(rules, "A");
  rules.LeftDown({10, 78});
  rules.LeftUp({10, 78});
  ASSERT_TRUE(rules.Selected());
  rules.Delete();
  EXPECT_TRUE(rules.Engine().Glyphs().empty());
  EXPECT_TRUE(rules.OkEnabled());
  Letter(rules, "AB");
  rules.DeleteAll();
  EXPECT_TRUE(rules.OkEnabled());
  EXPECT_EQ(rules.Ok({}), MonogramOkOutcome::kCancelled);
}

TEST_F(VantleMonogram, PortraitPreviewLimits) {
  VantleMonogramRules rules;
  EXPECT_EQ(rules.ToGlyphPixels(276, 396, 552, 792), (MonogramPoint{138, 198}));
  Letter(rules, "AB");
  rules.LeftDown({10, 78});
  rules.LeftUp({400, 600});  // dropped beyond the bottom-right: pushed back to 275 x 395
  EXPECT_EQ(rules.Engine().Glyphs()[0].rect.right, 275);
  EXPECT_EQ(rules.Engine().Glyphs()[0].rect.bottom, 395);

  // The grid crosses at (99, 153) of the bitmap: its first lines at x 19 and y 13.
  vtest::RecordingCanvas canvas;
  rules.Paint(canvas);
  std::vector<int> columns, rows;
  for (const auto& p : canvas.Primitives()) {
    if (p.op != vtest::CanvasOp::kLine || p.colour != editor::kMonogramGridColour) continue;
    if (p.points[0].x == p.points[1].x) columns.push_back(p.points[0].x);
    else rows.push_back(p.points[0].y);
  }
  ASSERT_FALSE(columns.empty());
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(columns.front(), 19);
  EXPECT_EQ(rows.front(), 13);
  EXPECT_EQ(columns.size(), 13u);  // 19, 39, .. 259: the next, 279, is past the 276 edge
}

TEST_F(VantleMonogram, AStreamGrownPastTheRecordByJumpSplitsFailsSilently) {
  // Every jump of 119 is split into two jumps and a zero stitch: 4 bytes become 10.
  StitchStreamBuilder glyph;
  for (int i = 0; i < 6200; ++i) glyph.Jump(119, 0).Jump(-119, 0);
  vtest::MonogramFontBuilder().Glyph('A', glyph.End().Bytes()).WriteTo(fonts_ / "Block.mnf");
  VantleMonogramRules rules;
  Letter(rules, "A");
  ASSERT_EQ(rules.Engine().Glyphs().size(), 1u);
  box_.Clear();
  EXPECT_EQ(rules.Ok({}), MonogramOkOutcome::kStay);
  EXPECT_EQ(box_.Count(), 0u);
}
