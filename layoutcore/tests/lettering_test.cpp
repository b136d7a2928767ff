#include "layoutcore/monogram/lettering_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "testing/monogram_font_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"
#include "testing/temp_dir.h"

using editor::BuildOutcome;
using editor::LetteringMode;
using editor::MonogramBlock;
using editor::MonogramEngine;
using editor::MonogramGlyph;
using editor::MonogramPoint;
using editor::MonogramRect;
using vtest::MonogramFontBuilder;
using vtest::StitchStreamBuilder;

namespace {

// A letter 10 right and 10 up: 2 by 2 preview pixels.
std::vector<uint8_t> Hook() { return StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes(); }

class Lettering : public ::testing::Test {
 protected:
  void WriteFont(const MonogramFontBuilder& font, const std::string& name = "Block") {
    font.WriteTo(dir_ / (name + ".mnf"));
    engine.SetFonts(dir_.Path(), {name});
    engine.LoadFontHeader();
  }
  void StandardFont() { WriteFont(MonogramFontBuilder().LineUnit(80).Gaps(-10, -5, 5).Glyph('A', Hook()).Glyph('B', Hook())); }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox box;
  MonogramEngine engine{editor::kStandardHoopLettering};
};

}  // namespace

TEST(MonogramBlockRecord, FieldsLieAtTheirOffsets) {
  MonogramBlock block;
  block.SetText("AB");
  block.SetMode(2);
  block.SetThreadCode(7);
  block.SetArcPoint(2, {181, 110});
  block.SetLinePoint(1, {-1, 3});
  block.SetOrigin(1, {10, 20});
  block.SetRect(99, {1, 2, 3, 4});
  block.SetTopOffset(0, -73);
  EXPECT_EQ(block.bytes[0], 'A');
  EXPECT_EQ(block.bytes[2], 0);
  EXPECT_EQ(block.bytes[100], 2);
  EXPECT_EQ(block.bytes[104], 7);
  EXPECT_EQ(block.bytes[132], 181);
  EXPECT_EQ(block.bytes[136], 110);
  EXPECT_EQ(block.bytes[148], 0xFF);
  EXPECT_EQ(block.bytes[152], 3);
  EXPECT_EQ(block.bytes[164], 10);
  EXPECT_EQ(block.bytes[168], 20);
  EXPECT_EQ(block.bytes[4156 + 16 * 99 + 12], 4);
  EXPECT_EQ(block.bytes[3756], 0xB7);  // -73, little-endian
  EXPECT_EQ(block.bytes[3759], 0xFF);
  // A hundred characters fill the field with no NUL; the text stops there.
  block.SetText(std::string(100, 'Z'));
  EXPECT_EQ(block.bytes[99], 'Z');
  EXPECT_EQ(block.Text(), std::string(100, 'Z'));
  EXPECT_EQ(block.Mode(), 2);
}

TEST_F(Lettering, MeasuringALetterAndASpace) {
  StandardFont();
  MonogramGlyph g;
  g.character = 'A';
  ASSERT_EQ(engine.LoadCharacter(g), editor::LoadResult::kOk);
  EXPECT_EQ(g.rect, (MonogramRect{-1, -3, 3, 1}));
  EXPECT_EQ(g.width, 8);
  EXPECT_EQ(g.height, 4);
  EXPECT_EQ(g.topOffset, -73);
  EXPECT_EQ(engine.stitchTotal, 3);  // one part of three pairs
  MonogramGlyph space;
  space.character = ' ';
  ASSERT_EQ(engine.LoadCharacter(space), editor::LoadResult::kOk);
  EXPECT_EQ(space.width, 40);
  EXPECT_EQ(space.rect, MonogramRect{});
  EXPECT_EQ(engine.stitchTotal, 3);  // a font without a space adds nothing
}

TEST_F(Lettering, MeasuringATurnedLetter) {
  StandardFont();
  MonogramGlyph g;
  g.character = 'A';
  g.angle = 90;  // a quarter turn clockwise on the screen
  g.origin = {50, 50};
  ASSERT_EQ(engine.LoadCharacter(g), editor::LoadResult::kOk);
  // (10, 0) becomes 10 down and (0, 10) then 10 right: x and y in 0..10 (y down).
  // The top is tracked from the first step on, not from the origin.
  EXPECT_EQ(g.rect, (MonogramRect{49, 50, 53, 53}));
}

TEST_F(Lettering, TheTextIsCleanedAndChecked) {
  StandardFont();
  const auto built = engine.Build("AxB", LetteringMode::kFree);
  EXPECT_EQ(built.cleanedText, "AB");
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "This font does not contain the character (x) .");
  EXPECT_EQ(box.Shown()[0].caption, "Attention");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbOk | platform::kMbIconExclamation);
  EXPECT_EQ(engine.Glyphs().size(), 2u);
  box.Clear();
  EXPECT_EQ(engine.Build("xy", LetteringMode::kFree).outcome, BuildOutcome::kEmpty);
  EXPECT_EQ(box.Shown().back().text, "Input Charactors.");
  box.Clear();
  EXPECT_EQ(engine.Build(std::string(101, 'A'), LetteringMode::kFree).outcome, BuildOutcome::kTooLong);
  EXPECT_EQ(box.Shown().back().text, "Maximum number of characters exceeded(100).");
  box.Clear();
  EXPECT_EQ(engine.Build("   ", LetteringMode::kLine).outcome, BuildOutcome::kSpacesOnly);
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_EQ(engine.Glyphs().size(), 2u);  // the old letters stay
}

TEST_F(Lettering, FreeLayoutRowsSpacesAndWraps) {
  StandardFont();
  engine.spacingIndex = 1;  // gap -5
  ASSERT_EQ(engine.Build("A B", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  const auto& g = engine.Glyphs();
  ASSERT_EQ(g.size(), 2u);  // a space is no glyph
  EXPECT_EQ(g[0].origin, (MonogramPoint{10, 80}));
  EXPECT_EQ(g[0].rect, (MonogramRect{9, 77, 13, 81}));
  EXPECT_EQ(g[0].centre, (MonogramPoint{11, 79}));
  EXPECT_EQ(g[0].offset, (MonogramPoint{-1, 1}));
  // after A: 10 - 5 + 8 = 13; the space: 13 - 5 + 40 = 48
  EXPECT_EQ(g[1].origin, (MonogramPoint{48, 80}));

  // 25 letters do not fit one row of 220: the row wraps to y + line unit.
  ASSERT_EQ(engine.Build(std::string(80, 'A'), LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  int rows = 0;
  int lastY = -1;
  for (const MonogramGlyph& glyph : engine.Glyphs()) {
    EXPECT_LE(glyph.origin.x + 2, 220);
    if (glyph.origin.y != lastY) ++rows, lastY = glyph.origin.y;
  }
  EXPECT_GT(rows, 1);
  EXPECT_EQ(engine.Glyphs()[0].origin.y, 80);
}

TEST_F(Lettering, TheLetteringLimitStopsTheBuilding) {
  WriteFont(MonogramFontBuilder().Glyph('A', {Hook(), {30000}, {}, {}}));
  EXPECT_EQ(engine.Build("AAAA", LetteringMode::kLine).outcome, BuildOutcome::kBuilt);
  EXPECT_EQ(engine.Glyphs().size(), 2u);  // the third takes twice the total to 180,000
  EXPECT_EQ(box.Shown().back().text, "Stitch data buffer full.\n Can not make stitch view image.");
  EXPECT_EQ(box.Shown().back().flags, platform::kMbOk | platform::kMbIconError);
}

TEST_F(Lettering, AFontThatVanishedFailsEachLetter) {
  StandardFont();
  std::filesystem::remove(dir_ / "Block.mnf");
  EXPECT_EQ(engine.Build("AB", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  EXPECT_TRUE(engine.Glyphs().empty());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "File Error.\nCan not make stitch view image.");
}

TEST(MonogramSpacing, GlyphsSpreadByTheirHalfWidths) {
  EXPECT_EQ(editor::SpaceGlyphs({10}), (std::vector<double>{0}));
  EXPECT_EQ(editor::SpaceGlyphs({10, 20, 10}), (std::vector<double>{0, 50, 100}));
  const auto p = editor::SpaceGlyphs({8, 40, 8, 8});
  EXPECT_DOUBLE_EQ(p.back(), 100);
  EXPECT_DOUBLE_EQ(p[1], 48 * 50.0 / 56);
  EXPECT_EQ(editor::SpaceGlyphs({0, 0, 0}), (std::vector<double>{0, 0, 0}));  // nothing to divide by
}

TEST(MonogramPath, LinePlacesOneTwoAndMany) {
  const MonogramPoint l1{40, 110}, l2{181, 110};
  const auto one = editor::LinePath(l1, l2, {0});
  EXPECT_EQ(one[0].point, (MonogramPoint{110, 110}));
  EXPECT_DOUBLE_EQ(one[0].angle, editor::kTwoPi - std::atan2(141, 0));
  const auto two = editor::LinePath(l1, l2, {0, 100});
  EXPECT_EQ(two[0].point, l1);
  EXPECT_EQ(two[1].point, l2);
  const auto three = editor::LinePath(l1, l2, {0, 50, 100});
  EXPECT_EQ(three[1].point, (MonogramPoint{110, 110}));
  EXPECT_EQ(three[2].point, l2);
  const auto same = editor::LinePath(l1, l1, {0, 50, 100});
  for (const auto& place : same) {
    EXPECT_EQ(place.point, l1);
    EXPECT_DOUBLE_EQ(place.angle, editor::kUprightPathAngle);
  }
}

TEST(MonogramPath, ArcsAndTheirStraightFallbacks) {
  const std::vector<double> q{0, 50, 100};
  // Three equal points: every letter on P1, upright.
  const auto equal = editor::ArcPath({60, 60}, {60, 60}, {60, 60}, q);
  EXPECT_FALSE(equal.arc);
  for (const auto& place : equal.places) EXPECT_EQ(place.point, (MonogramPoint{60, 60}));
  // The default points are collinear: a line from P1 to P3.
  const auto collinear = editor::ArcPath({40, 110}, {110, 110}, {181, 110}, q);
  EXPECT_FALSE(collinear.arc);
  EXPECT_EQ(collinear.places[2].point, (MonogramPoint{181, 110}));
  // P1 = P3: the line runs to P2.
  const auto back = editor::ArcPath({40, 110}, {100, 50}, {40, 110}, q);
  EXPECT_EQ(back.places[2].point, (MonogramPoint{100, 50}));
  // A half circle over the top, centre (110, 110), radius 70.
  const auto arc = editor::ArcPath({40, 110}, {110, 40}, {180, 110}, q);
  ASSERT_TRUE(arc.arc);
  EXPECT_NEAR(arc.arc->radius, 70, 1e-9);
  EXPECT_EQ(arc.places[0].point, (MonogramPoint{40, 110}));
  // Truncated: cos of three quarters of a turn is a hair below zero.
  EXPECT_EQ(arc.places[1].point, (MonogramPoint{109, 40}));
  EXPECT_NEAR(arc.places[1].angle, 3 * M_PI / 2, 1e-6);
  EXPECT_EQ(arc.places[2].point, (MonogramPoint{180, 109}));
  // A radius of 3300 or more is drawn straight.
  EXPECT_FALSE(editor::ArcPath({0, 0}, {3000, 10}, {6000, 0}, q).arc);
}

TEST(MonogramPath, LettersStandUprightOnBothArcsHoweverManyThereAre) {
  // A hump and a dip through the same ends; every letter's top points up the preview.
  for (MonogramPoint middle : {MonogramPoint{110, 80}, MonogramPoint{110, 140}}) {
    for (std::size_t n = 1; n <= 5; ++n) {
      std::vector<double> q(n);
      for (std::size_t k = 0; k < n; ++k) q[k] = n == 1 ? 0 : 100.0 * static_cast<double>(k) / static_cast<double>(n - 1);
      const auto layout = editor::ArcPath({40, 110}, middle, {180, 110}, q);
      ASSERT_TRUE(layout.arc);
      for (const auto& place : layout.places) {
        MonogramGlyph g;
        editor::PlaceGlyphOnPath(g, place);
        EXPECT_GT(std::cos(g.angle * M_PI / 180), 0.4) << "dip " << (middle.y > 110) << " n " << n << " angle " << g.angle;
      }
    }
  }
}

TEST(MonogramPath, AnUprightLetterStandsWithItsOriginOnThePath) {
  MonogramGlyph g;
  g.offset = {-4, 2};
  editor::PlaceGlyphOnPath(g, {{100, 100}, editor::kUprightPathAngle});
  // The upright path angle is a hair short of three quarters of a turn.
  EXPECT_EQ(g.angle, 359);
  EXPECT_EQ(g.centre, (MonogramPoint{100, 98}));
  EXPECT_EQ(g.origin, (MonogramPoint{96, 100}));
}

TEST_F(Lettering, MakeStitchesWritesTheRecordAndTheBlock) {
  StandardFont();
  engine.threadCode = 9;
  ASSERT_EQ(engine.Build("BA", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  // Put A on a row above B: A is stitched first.
  engine.Glyphs()[1].origin = {100, 40};
  design::StitchRecord record;
  MonogramBlock block;
  ASSERT_TRUE(engine.MakeStitches(record, block));
  EXPECT_EQ(record.StitchDataOffset(), 124);
  EXPECT_EQ(record.Flags(), 1);
  EXPECT_EQ(record.ColourCount(), 1);
  EXPECT_EQ(record.ThreadCode(0), 9);
  EXPECT_EQ(record.ThreadType(0), 13);
  EXPECT_EQ(record.Hoop(), 0);
  const vtest::WalkResult walk = vtest::WalkStitches(record.StitchArea());
  ASSERT_TRUE(walk.ended) << walk.error;
  EXPECT_EQ(walk.longStitches, 0);
  // From (550, 550) to A at (500, 200), its two pairs, then the jump chain to B at (50, 400)
  // and B's pairs. Re-centring put its own jump in front and dropped the first jump and its
  // landing, A's first pair.
  // The chain from (510, 190) to (50, 400) is (-460, -210) upward: steps of 120 per axis.
  const std::vector<uint8_t> tail{0, 10, 0x80, 2, 0x88, 0x88, 0x80, 2, 0x88, 0xA6, 0x80, 2, 0x88, 0,
                                  0x80, 2, 0x9C, 0, 10, 0, 0, 10, 0x80, 0x10};
  const std::size_t pairs = static_cast<std::size_t>(record.PairCount());
  ASSERT_GE(2 * pairs, tail.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), record.Stitches() + 2 * pairs - tail.size()));
  EXPECT_EQ(block.Text(), "AB");
  EXPECT_EQ(block.Mode(), 0);
  EXPECT_EQ(block.ThreadCode(), 9);
  EXPECT_EQ(block.Font(), 0);
  EXPECT_EQ(block.Spacing(), 1);
  EXPECT_EQ(block.Origin(0), (MonogramPoint{100, 40}));
  EXPECT_EQ(block.Origin(1), (MonogramPoint{10, 80}));
  EXPECT_EQ(block.Width(1), 8);
  EXPECT_EQ(block.ArcPoint(1), (MonogramPoint{110, 110}));
  EXPECT_EQ(block.LinePoint(1), (MonogramPoint{181, 110}));
}

TEST_F(Lettering, LineLetteringKeepsItsSpacesInTheBlockButDoesNotStitchThem) {
  StandardFont();
  ASSERT_EQ(engine.Build("A B", LetteringMode::kLine).outcome, BuildOutcome::kBuilt);
  design::StitchRecord record;
  MonogramBlock block;
  ASSERT_TRUE(engine.MakeStitches(record, block));
  EXPECT_EQ(block.Text(), "A B");
  EXPECT_EQ(block.Mode(), 1);
  // Only the letters are stitched; the space is jumped over.
  const vtest::WalkResult walk = vtest::WalkStitches(record.StitchArea());
  ASSERT_TRUE(walk.ended);
  EXPECT_EQ(walk.sewn.size(), 2u);  // one stitch of each letter, the first one too
  // Two letters and a space on the line from (40, 110) to (181, 110): the first at L1.
  EXPECT_EQ(engine.Glyphs()[0].angle, 359);
  EXPECT_EQ(engine.Glyphs()[0].origin.y, 110);
  EXPECT_EQ(engine.Glyphs()[0].centre.x, 40);
}

TEST_F(Lettering, StitchesOutsideTheHoopAreRefused) {
  StandardFont();
  ASSERT_EQ(engine.Build("A", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  engine.Glyphs()[0].origin = {219, 100};  // its 10 right leaves 1100
  design::StitchRecord record;
  MonogramBlock block;
  EXPECT_FALSE(engine.MakeStitches(record, block));
  EXPECT_EQ(box.Shown().back().text, "Stitch error\nCannot make stitch.\nStitches are out of embroidery area.");
  EXPECT_EQ(box.Shown().back().caption, "Attention");
}

TEST_F(Lettering, AHugeLetteringStopsAtTheByteLimit) {
  // 120 pairs out and back make 240 pairs a letter; 100 letters reach 48,000 bytes, so
  // use a font whose letters are long: each 3,000 pairs.
  StitchStreamBuilder long_;
  for (int i = 0; i < 1500; ++i) long_.Stitch(1, 0).Stitch(-1, 0);
  WriteFont(MonogramFontBuilder().Glyph('A', {long_.End().Bytes(), {1}, {}, {}}));
  ASSERT_EQ(engine.Build(std::string(30, 'A'), LetteringMode::kLine).outcome, BuildOutcome::kBuilt);
  design::StitchRecord record;
  MonogramBlock block;
  EXPECT_FALSE(engine.MakeStitches(record, block));
  EXPECT_EQ(box.Shown().back().text, "Stitch error\nCannot make stitch.\nStitches are out of embroidery area.");
}

TEST_F(Lettering, FreeLetteringRestoresFromItsBlock) {
  StandardFont();
  ASSERT_EQ(engine.Build("AB", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  engine.Glyphs()[1].angle = 30;
  engine.Glyphs()[1].origin = {120, 150};
  editor::MeasureCharacter(engine.Glyphs()[1], engine.Header().lineUnit);
  design::StitchRecord record;
  MonogramBlock block;
  ASSERT_TRUE(engine.MakeStitches(record, block));

  MonogramEngine again{editor::kStandardHoopLettering};
  again.SetFonts(dir_.Path(), {"Block"});
  again.LoadFontHeader();
  again.text = block.Text();
  again.RestoreFreeGlyphs(block);
  ASSERT_EQ(again.Glyphs().size(), 2u);
  EXPECT_EQ(again.Glyphs()[1].origin, (MonogramPoint{120, 150}));
  EXPECT_EQ(again.Glyphs()[1].angle, 30);
  design::StitchRecord record2;
  MonogramBlock block2;
  ASSERT_TRUE(again.MakeStitches(record2, block2));
  EXPECT_EQ(block2, block);
  EXPECT_TRUE(std::equal(record.StitchArea().begin(), record.StitchArea().end(), record2.StitchArea().begin()));
}

TEST_F(Lettering, RestoringLeavesOutLettersTheFontLacks) {
  StandardFont();
  MonogramBlock block;
  block.SetText("AxB");
  block.SetOrigin(2, {50, 60});
  engine.text = block.Text();
  engine.RestoreFreeGlyphs(block);
  ASSERT_EQ(engine.Glyphs().size(), 2u);
  EXPECT_EQ(engine.Glyphs()[1].character, 'B');
  EXPECT_EQ(engine.Glyphs()[1].origin, (MonogramPoint{50, 60}));  // B keeps its own entry
}

TEST_F(Lettering, AHostileBlockRestoresWithinReach) {
  StandardFont();
  MonogramBlock block;
  block.SetText("A");
  block.SetOrigin(0, {2147483647, -2147483647});
  block.SetAngle(0, -2147483647);
  engine.text = block.Text();
  engine.RestoreFreeGlyphs(block);
  ASSERT_EQ(engine.Glyphs().size(), 1u);
  EXPECT_LE(engine.Glyphs()[0].origin.x, 10000);
  design::StitchRecord record;
  MonogramBlock out;
  EXPECT_FALSE(engine.MakeStitches(record, out));  // far outside the hoop, refused cleanly
}

TEST_F(Lettering, DrawingFollowsStitchesAndRefreshesTheRectangle) {
  StandardFont();
  ASSERT_EQ(engine.Build("A", LetteringMode::kFree).outcome, BuildOutcome::kBuilt);
  vtest::RecordingCanvas canvas;
  engine.DrawGlyphs(canvas, platform::PaletteRgb(255, 0, 0));
  const auto& g = engine.Glyphs()[0];
  EXPECT_EQ(g.rect, (MonogramRect{9, 77, 13, 81}));
  EXPECT_EQ(g.width, 4);
}

TEST_F(Lettering, MangledFontFilesNeverReadOutsideThemselves) {
  StitchStreamBuilder letter;
  letter.Stitch(0, 0).Stitch(30, 0).Jump(-30, 40).ColourChange().Stitch(30, 0).End();
  const std::vector<uint8_t> sound = MonogramFontBuilder().Glyph('A', letter.Bytes()).Glyph('B', letter.Bytes()).Build();
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> image = sound;
    const int changes = 1 + static_cast<int>(next() % 6);
    for (int i = 0; i < changes; ++i) {
      // Mostly the glyph records and their offsets, sometimes anywhere.
      const std::size_t at = next() % 3 ? 916 + next() % (image.size() - 916) : next() % image.size();
      image[at] = static_cast<uint8_t>(next());
    }
    if (next() % 4 == 0) image.resize(next() % image.size());
    {
      std::ofstream out(dir_ / "Block.mnf", std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }
    engine.SetFonts(dir_.Path(), {"Block"});
    for (LetteringMode mode : {LetteringMode::kFree, LetteringMode::kLine, LetteringMode::kArc}) {
      engine.Build("AB BA", mode);
      vtest::RecordingCanvas canvas;
      engine.DrawGlyphs(canvas, 0);
      design::StitchRecord record;
      MonogramBlock block;
      if (engine.MakeStitches(record, block)) {
        EXPECT_TRUE(vtest::WalkStitches(record.StitchArea()).ended) << round;
      }
    }
  }
}
