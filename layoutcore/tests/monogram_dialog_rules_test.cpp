#include "layoutcore/monogram/monogram_dialog_rules.h"

#include <gtest/gtest.h>

#include "design/qnf_exporter.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/monogram_font_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

using editor::MonogramDialogKind;
using editor::MonogramDialogRules;
using editor::MonogramOkOutcome;
using editor::MonogramPoint;
using vtest::MonogramFontBuilder;
using vtest::StitchStreamBuilder;

namespace {

std::vector<uint8_t> Hook() { return StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes(); }

class MonogramDialog : public ::testing::Test {
 protected:
  MonogramDialog() {
    platform::SetProfileRoot(profileDir_.Path());
    MonogramDialogRules::ResetNameCounter();
    MonogramFontBuilder().Glyph('A', Hook()).Glyph('B', Hook()).WriteTo(fonts_ / "Block.mnf");
    MonogramFontBuilder().Glyph('A', Hook()).Glyph('Z', Hook()).WriteTo(fonts_ / "Script.mnf");
  }
  ~MonogramDialog() override { platform::SetProfileRoot({}); }

  editor::MonogramDialogInput NewInput() {
    editor::MonogramDialogInput input;
    input.programFolder = fonts_.Path();
    input.record = &record_;
    return input;
  }
  // A new lettering of text, registered in the free layout.
  void Letter(MonogramDialogRules& rules, const std::string& text, int layout = 0) {
    ASSERT_TRUE(rules.Init(NewInput()));
    rules.ChooseLayout(layout);
    rules.SetEditText(text);
    rules.Register();
  }

  vtest::TempDir profileDir_;
  vtest::TempDir fonts_;
  vtest::RecordingMessageBox box_;
  design::StitchRecord record_;
};

}  // namespace

TEST_F(MonogramDialog, NoFontFileOrNoRecordEndsTheDialog) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  vtest::TempDir empty;
  editor::MonogramDialogInput input = NewInput();
  input.programFolder = empty.Path();
  EXPECT_FALSE(rules.Init(input));
  EXPECT_EQ(box_.Shown().back().text, "Monogram data file does not exist.");
  EXPECT_EQ(box_.Shown().back().flags, platform::kMbOk | platform::kMbIconError);
  input = NewInput();
  input.record = nullptr;
  EXPECT_FALSE(rules.Init(input));
  EXPECT_EQ(box_.Shown().back().text, "There is not enough memory!");
}

TEST_F(MonogramDialog, StoredChoicesOutOfRangeFallBack) {
  platform::Profile("Brodera").WriteInt("Monogram", "FontType", 2);  // two fonts: 0 and 1
  platform::Profile("Brodera").WriteInt("Monogram", "FontSpace", 3);
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  ASSERT_TRUE(rules.Init(NewInput()));
  EXPECT_EQ(rules.FontNames(), (std::vector<std::string>{"Block", "Script"}));
  EXPECT_EQ(rules.FontSelection(), 0);
  EXPECT_EQ(rules.SpacingSelection(), 1);
  EXPECT_EQ(rules.LayoutType(), 0);  // a new lettering starts free
  EXPECT_FALSE(rules.OkEnabled());
  EXPECT_FALSE(rules.DeleteAllEnabled());
}

TEST_F(MonogramDialog, OkWithoutLettersEndsAsCancelButKeepsTheChoices) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  ASSERT_TRUE(rules.Init(NewInput()));
  rules.ChooseFont(1);
  rules.ChooseSpacing(2);
  EXPECT_EQ(rules.Ok({}), MonogramOkOutcome::kCancelled);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Monogram", "FontType", -1), 1);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Monogram", "FontSpace", -1), 2);
}

TEST_F(MonogramDialog, OkWithOnlySpacesLeftEndsAsCancel) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "A B", 1);
  // The letters' glyphs gone (as when their loading failed): only the space is left.
  auto& glyphs = rules.Engine().Glyphs();
  glyphs.erase(std::remove_if(glyphs.begin(), glyphs.end(), [](const auto& g) { return !g.IsSpace(); }), glyphs.end());
  ASSERT_EQ(glyphs.size(), 1u);
  EXPECT_EQ(rules.Ok({}), MonogramOkOutcome::kCancelled);
  EXPECT_EQ(box_.Count(), 0u);
}

TEST_F(MonogramDialog, AnsweringNoNamesUnnamedLetteringsInTurn) {
  for (const char* expected : {"Mono0001", "Mono0002"}) {
    MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
    Letter(rules, "AB");
    ASSERT_TRUE(rules.OkEnabled());
    box_.Script({platform::kIdNo});
    bool asked = false;
    EXPECT_EQ(rules.Ok([&](const auto&, const auto&) { asked = true; return std::nullopt; }), MonogramOkOutcome::kAccepted);
    EXPECT_FALSE(asked);
    EXPECT_EQ(rules.Name(), expected);
    EXPECT_EQ(box_.Shown().back().text, "Save current design?");
    EXPECT_EQ(box_.Shown().back().caption, "Confirmation");
    EXPECT_EQ(box_.Shown().back().flags, platform::kMbYesNo | platform::kMbIconQuestion);
    EXPECT_EQ(rules.OutputBlock().Text(), "AB");
    EXPECT_GT(record_.PairCount(), 0);
  }
  // Nothing was written: only the two fonts are in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fonts_.Path()), std::filesystem::directory_iterator()), 2);
}

TEST_F(MonogramDialog, AnsweringYesSavesTheLetteringAsADesignFile) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB");
  vtest::TempDir out;
  box_.Script({platform::kIdYes});
  std::filesystem::path offeredFolder;
  std::string offeredName;
  const auto outcome = rules.Ok([&](const std::filesystem::path& folder, const std::string& name) {
    offeredFolder = folder;
    offeredName = name;
    return std::optional<std::filesystem::path>(out / "Letters.qnf");
  });
  ASSERT_EQ(outcome, MonogramOkOutcome::kAccepted);
  EXPECT_EQ(offeredFolder, fonts_.Path());  // no folder remembered yet: the program folder
  EXPECT_EQ(offeredName, "Mono0001");
  EXPECT_EQ(rules.Name(), (out / "Letters.qnf").string());
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(out / "Letters.qnf", written));
  EXPECT_EQ(written, design::QnfFileImage(record_));
  EXPECT_EQ(platform::Profile("Brodera").GetString("Design Path", "MonoQnf", ""), out.Path().string() + "/");
}

TEST_F(MonogramDialog, CancellingTheSaveOrAFailedWriteKeepsTheDialogOpen) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB");
  box_.Script({platform::kIdYes});
  EXPECT_EQ(rules.Ok([](const auto&, const auto&) { return std::nullopt; }), MonogramOkOutcome::kStay);
  box_.Script({platform::kIdYes});
  EXPECT_EQ(rules.Ok([&](const auto&, const auto&) {
              return std::optional<std::filesystem::path>(fonts_ / "no such folder" / "x.qnf");
            }),
            MonogramOkOutcome::kStay);
  EXPECT_EQ(box_.Shown().back().text, "File Error");
  EXPECT_EQ(box_.Shown().back().caption, "Error");
  EXPECT_EQ(rules.Engine().Glyphs().size(), 2u);
}

TEST_F(MonogramDialog, AnEditedLetteringOffersItsOwnName) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  editor::MonogramDialogInput input = NewInput();
  input.name = "/designs/Initials.qnf";
  ASSERT_TRUE(rules.Init(input));
  rules.SetEditText("A");
  rules.Register();
  box_.Script({platform::kIdYes});
  std::string offered;
  rules.Ok([&](const auto&, const std::string& name) { offered = name; return std::nullopt; });
  EXPECT_EQ(offered, "Initials");
}

TEST_F(MonogramDialog, ControlPointsStopAtTheirClamp) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB", 2);
  ASSERT_EQ(rules.Engine().mode, editor::LetteringMode::kArc);
  EXPECT_FALSE(rules.DeleteEnabled());
  EXPECT_FALSE(rules.SpacingEnabled());
  rules.LeftDown({182, 111});  // P3 at (181, 110), within 3
  rules.MouseMove({400, -50});
  EXPECT_EQ(rules.Engine().arcPoints[2], (MonogramPoint{191, 30}));
  rules.LeftUp({400, 400});
  EXPECT_EQ(rules.Engine().arcPoints[2], (MonogramPoint{191, 191}));
  EXPECT_FALSE(rules.Capturing());

  MonogramDialogRules large(MonogramDialogKind::kLargeHoop, "Brodera");
  Letter(large, "AB", 1);
  large.LeftDown({40, 200});
  large.LeftUp({1000, 1000});
  EXPECT_EQ(large.Engine().linePoints[0], (MonogramPoint{250, 370}));
}

TEST_F(MonogramDialog, AFreeLetterDroppedOverTheEdgeIsPushedBack) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB");
  // A at (10, 80): its rectangle (9, 77)-(13, 81).
  rules.LeftDown({10, 78});
  ASSERT_EQ(rules.Selected(), std::optional<std::size_t>(0));
  rules.MouseMove({230, 78});
  EXPECT_EQ(rules.Cursor(true), editor::MonogramCursor::kNo);
  rules.LeftUp({230, 78});
  const editor::MonogramGlyph& a = rules.Engine().Glyphs()[0];
  EXPECT_EQ(a.rect.right, 220);
  EXPECT_EQ(a.origin.x, 217);
  EXPECT_EQ(a.centre, (MonogramPoint{218, 79}));  // origin less the offset (-1, 1)

  MonogramDialogRules large(MonogramDialogKind::kLargeHoop, "Brodera");
  Letter(large, "AB");
  large.LeftDown({10, 78});
  large.LeftUp({-40, 500});
  EXPECT_EQ(large.Engine().Glyphs()[0].rect.left, 2);
  EXPECT_EQ(large.Engine().Glyphs()[0].rect.bottom, 400);
}

TEST_F(MonogramDialog, TurningALetterWithTheRightButton) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "A");
  rules.LeftDown({10, 78});
  rules.LeftUp({10, 78});
  const MonogramPoint c = rules.Engine().Glyphs()[0].centre;  // (11, 79)
  rules.RightDown({12, 79});  // straight right of the centre: 0 degrees
  EXPECT_EQ(rules.Cursor(true), editor::MonogramCursor::kRotate);
  rules.MouseMove({c.x, c.y + 30});  // straight below: 90 degrees, y down
  rules.RightUp({c.x, c.y + 30});
  const editor::MonogramGlyph& a = rules.Engine().Glyphs()[0];
  EXPECT_EQ(a.angle, 90);
  EXPECT_EQ(a.origin, editor::OriginFromCentre(c, a.offset, 90));
  EXPECT_FALSE(rules.Capturing());
}

TEST_F(MonogramDialog, DeleteAndDeleteAll) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB");
  rules.Delete();
  EXPECT_EQ(box_.Shown().back().text, "Select a charactor to be deleted.");
  EXPECT_EQ(box_.Shown().back().flags, platform::kMbOk | platform::kMbIconExclamation);
  rules.LeftDown({10, 78});
  rules.LeftUp({10, 78});
  rules.Delete();
  EXPECT_EQ(rules.Engine().Glyphs().size(), 1u);
  EXPECT_TRUE(rules.OkEnabled());
  rules.LeftDown({rules.Engine().Glyphs()[0].rect.left, rules.Engine().Glyphs()[0].rect.top});
  rules.LeftUp({rules.Engine().Glyphs()[0].rect.left, rules.Engine().Glyphs()[0].rect.top});
  rules.Delete();
  EXPECT_TRUE(rules.EditText().empty());
  EXPECT_FALSE(rules.OkEnabled());
  EXPECT_FALSE(rules.DeleteEnabled());

  Letter(rules, "AB", 1);
  rules.DeleteAll();
  EXPECT_TRUE(rules.Engine().Glyphs().empty());
  EXPECT_EQ(rules.Engine().mode, editor::LetteringMode::kFree);
  EXPECT_FALSE(rules.DeleteAllEnabled());
}

TEST_F(MonogramDialog, ChangingTheFontChangesWhatCanBeTypedButNotTheLetters) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(rules, "AB");
  EXPECT_TRUE(rules.AcceptsCharacter('B'));
  EXPECT_FALSE(rules.AcceptsCharacter('Z'));
  EXPECT_TRUE(rules.AcceptsCharacter(' '));
  EXPECT_TRUE(rules.AcceptsCharacter(8));
  EXPECT_FALSE(rules.AcceptsCharacter('\t'));
  rules.ChooseFont(1);
  EXPECT_FALSE(rules.AcceptsCharacter('B'));
  EXPECT_TRUE(rules.AcceptsCharacter('Z'));
  EXPECT_EQ(rules.Engine().Glyphs().size(), 2u);
  EXPECT_EQ(rules.Engine().Glyphs()[1].character, 'B');
}

TEST_F(MonogramDialog, EditingAgainRebuildsFromTheBlock) {
  MonogramDialogRules first(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(first, "AB");
  first.ChooseColour(5);
  first.LeftDown({10, 78});
  first.LeftUp({60, 120});
  box_.Script({platform::kIdNo});
  ASSERT_EQ(first.Ok({}), MonogramOkOutcome::kAccepted);
  const editor::MonogramBlock block = first.OutputBlock();

  MonogramDialogRules again(MonogramDialogKind::kStandardHoop, "Brodera");
  editor::MonogramDialogInput input = NewInput();
  input.text = block.Text();
  input.layoutType = block.Mode();
  input.inputBlock = block;
  input.name = first.Name();
  ASSERT_TRUE(again.Init(input));
  EXPECT_EQ(again.Engine().threadCode, first.Engine().threadCode);
  ASSERT_EQ(again.Engine().Glyphs().size(), 2u);
  EXPECT_TRUE(again.DeleteEnabled());
  EXPECT_TRUE(again.OkEnabled());
  design::StitchRecord second;
  editor::MonogramBlock secondBlock;
  ASSERT_TRUE(again.Engine().MakeStitches(second, secondBlock));
  EXPECT_EQ(secondBlock, block);
}

TEST_F(MonogramDialog, EditingALineLetteringAgainBuildsItFromItsText) {
  MonogramDialogRules first(MonogramDialogKind::kLargeHoop, "Brodera");
  Letter(first, "A B", 1);
  first.LeftDown({240, 200});
  first.LeftUp({240, 100});
  box_.Script({platform::kIdNo});
  ASSERT_EQ(first.Ok({}), MonogramOkOutcome::kAccepted);
  const editor::MonogramBlock block = first.OutputBlock();
  EXPECT_EQ(block.Text(), "A B");
  EXPECT_EQ(block.LinePoint(1), (MonogramPoint{240, 100}));

  MonogramDialogRules again(MonogramDialogKind::kLargeHoop, "Brodera");
  editor::MonogramDialogInput input = NewInput();
  input.text = block.Text();
  input.inputBlock = block;
  ASSERT_TRUE(again.Init(input));
  EXPECT_EQ(again.LayoutType(), 1);
  EXPECT_FALSE(again.SpacingEnabled());
  EXPECT_EQ(again.Engine().Glyphs().size(), 3u);
  EXPECT_EQ(again.Engine().linePoints[1], (MonogramPoint{240, 100}));
}

TEST_F(MonogramDialog, PreviewPointsAndPicture) {
  MonogramDialogRules rules(MonogramDialogKind::kStandardHoop, "Brodera");
  EXPECT_EQ(rules.ToGlyphPixels(221, 442, 442, 442), (MonogramPoint{111, 221}));
  EXPECT_EQ(rules.ToGlyphPixels(5, 5, 0, 0), (MonogramPoint{0, 0}));
  Letter(rules, "AB", 2);
  vtest::RecordingCanvas canvas;
  rules.Paint(canvas);
  EXPECT_FALSE(canvas.Primitives().empty());
}

TEST_F(MonogramDialog, ConfirmingTheColourWithoutAChoiceKeepsTheLetteringsThread) {
  MonogramDialogRules first(MonogramDialogKind::kStandardHoop, "Brodera");
  Letter(first, "AB");
  box_.Script({platform::kIdNo});
  ASSERT_EQ(first.Ok({}), MonogramOkOutcome::kAccepted);
  editor::MonogramBlock block = first.OutputBlock();
  block.SetThreadCode(999);  // a thread no table row carries

  MonogramDialogRules again(MonogramDialogKind::kStandardHoop, "Brodera");
  editor::MonogramDialogInput input = NewInput();
  input.text = block.Text();
  input.inputBlock = block;
  ASSERT_TRUE(again.Init(input));
  // The colour dialog opens on what the rules say and hands the same index back on OK.
  again.ChooseColour(again.ColourIndex());
  EXPECT_EQ(again.Engine().threadCode, 999);
  again.ChooseColour(5);
  EXPECT_EQ(again.ColourIndex(), 5);
}

TEST(MonogramPreviewScale, TheLargeHoopsPreviewShrinksToFitALowScreen) {
  const int large = editor::MonogramConstantsFor(MonogramDialogKind::kLargeHoop).hoop.previewHeight;
  const int standard = editor::MonogramConstantsFor(MonogramDialogKind::kStandardHoop).hoop.previewHeight;
  EXPECT_DOUBLE_EQ(editor::MonogramPreviewScale(standard, 768), 2.0);
  EXPECT_DOUBLE_EQ(editor::MonogramPreviewScale(large, 1000), 2.0);
  for (int screen : {768, 740, 700}) {
    const double scale = editor::MonogramPreviewScale(large, screen);
    EXPECT_LT(scale, 2.0);
    EXPECT_LE(large * scale + editor::kMonogramDialogFrameHeight, screen);
  }
  EXPECT_DOUBLE_EQ(editor::MonogramPreviewScale(large, 300), 1.0);  // never below the bitmap
}
