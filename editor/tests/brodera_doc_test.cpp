#include "editor/brodera_doc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/tests/layout_file_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using editor::CBroderaDoc;
using editor::DesignObject;
using platform::kIdCancel;
using platform::kIdNo;
using platform::kIdYes;

DesignObject Design(const std::string& name, int32_t x) {
  DesignObject d;
  d.name = name;
  d.centreX = x;
  d.centreY = 50;
  d.extents = {-10, -10, 10, 10};
  d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 10;
  editor::GiveNewRecords(d);
  const auto s = vtest::StitchStreamBuilder().Stitch(5, 5).Stitch(-5, 0).End().Bytes();
  for (auto* r : {d.working.get(), d.source.get()}) {
    r->SetColourCount(1);
    r->SetThreadCode(0, 3);
    r->SetPairCount(static_cast<int32_t>(s.size() / 2));
    std::copy(s.begin(), s.end(), r->Stitches());
  }
  return d;
}

struct DocFixture : ::testing::Test {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost host;
  CBroderaDoc doc{host};

  void AddOne(const std::string& name = "a.qnf") {
    doc.AddDesign(Design(name, 40));
    doc.SetDesignCount(doc.GetDesignCount() + 1);
  }
  std::string P(const std::string& name) { return (dir / name).string(); }
  void Touch(const std::string& path, const std::string& text = "old") { std::ofstream(path) << text; }
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(DocFixture, ListPositionsSurviveBringingToFront) {
  const auto a = doc.AddDesign(Design("a", 1));
  const auto b = doc.AddDesign(Design("b", 2));
  const auto c = doc.AddDesign(Design("c", 3));
  EXPECT_EQ(doc.BringDesignToFront(a), a);
  std::vector<std::string> order;
  for (const auto& d : doc.GetDesignList()) order.push_back(d.name);
  EXPECT_EQ(order, (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(b->name, "b");
  EXPECT_EQ(c->name, "c");
  DesignObject copy;
  doc.FetchDesign(b, copy);
  EXPECT_EQ(copy.working, b->working);  // shares the records
}

TEST_F(DocFixture, FetchingMarksTheLayoutModified) {
  const auto a = doc.AddDesign(Design("a", 1));
  doc.SetModifiedFlag(false);
  DesignObject copy;
  doc.FetchDesign(a, copy);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocFixture, SheetLayoutOutOfRangeBecomesOne) {
  doc.SetSheetLayout(4, 0);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(1, 1));
  doc.SetSheetLayout(3, 2);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(3, 2));
}

TEST_F(DocFixture, UnmodifiedLayoutGoesOnWithoutAsking) {
  EXPECT_TRUE(doc.PromptSaveLayout());
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(DocFixture, CancelInTheQuestionStops) {
  AddOne();
  box.Script({kIdCancel});
  EXPECT_FALSE(doc.PromptSaveLayout());
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Save changes to Untitled.bdz?");
  EXPECT_EQ(box.Shown()[0].caption, "Brodera");
  EXPECT_EQ(box.Shown()[0].flags & platform::kMbButtonMask, platform::kMbYesNoCancel);
}

TEST_F(DocFixture, NoDiscardsAndGoesOn) {
  AddOne();
  box.Script({kIdNo});
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetDesignCount(), 0);
  EXPECT_TRUE(doc.GetDesignList().empty());
  EXPECT_EQ(doc.GetHoopKind(), 2);
}

TEST_F(DocFixture, CancelledSaveDialogKeepsTheLayout) {
  AddOne();
  box.Script({kIdYes});
  host.saveAnswers = {std::nullopt};
  EXPECT_FALSE(doc.OnNewDocument());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(doc.GetPathName(), "");
  EXPECT_EQ(host.saveDialogProposals, (std::vector<std::string>{"Untitled.bdz"}));
  EXPECT_EQ(host.saveDialogFolders, (std::vector<std::string>{"/opt/velinor/"}));
}

TEST_F(DocFixture, DeclinedReplaceKeepsTheLayoutAndTheFile) {
  AddOne();
  Touch(P("x.bdz"));
  box.Script({kIdYes, kIdNo});
  host.saveAnswers = {P("x.bdz")};
  EXPECT_FALSE(doc.CanCloseFrame());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(Contents(P("x.bdz")), "old");
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[1].text, P("x.bdz") + "\nThis file already exists.\n\nReplace existing file?");
}

TEST_F(DocFixture, FailedWriteKeepsTheLayoutAndTheOldFile) {
  AddOne();
  doc.SetPathName(P("gone/x.bdz"));  // a folder that is not there
  box.Script({kIdYes});
  EXPECT_FALSE(doc.SaveModified());
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[0].text, "Save changes to x.bdz?");
  EXPECT_EQ(box.Shown()[1].text, "There is an error in a file.\nQuit operation.");
}

TEST_F(DocFixture, AReadOnlyLayoutIsNotReplaced) {
  AddOne();
  Touch(P("x.bdz"));
  fs::permissions(P("x.bdz"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  doc.SetPathName(P("x.bdz"));
  box.Script({kIdYes});
  EXPECT_FALSE(doc.SaveModified());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(Contents(P("x.bdz")), "old");
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[1].text, "There is an error in a file.\nQuit operation.");
}

TEST_F(DocFixture, YesSavesAndGoesOn) {
  AddOne();
  doc.SetPathName(P("x.bdz"));
  box.Script({kIdYes});
  EXPECT_TRUE(doc.SaveModified());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(Contents(P("x.bdz")).substr(0, 10), "Corvan bdz");
  EXPECT_FALSE(fs::exists(P("x.bdz.part")));
  EXPECT_EQ(host.settings["Design Path/DotBdz"], dir.Path().string() + "/");
}

TEST_F(DocFixture, OlderLayoutIsSavedBesideAsBdzAfterAskingToReplace) {
  AddOne();
  doc.SetPathName(P("old.arf"));
  Touch(P("old.bdz"));
  box.Script({kIdYes, kIdNo});
  EXPECT_FALSE(doc.SaveModified());
  EXPECT_EQ(box.Shown()[0].text, "Save changes to old.bdz? (new format).");
  EXPECT_EQ(Contents(P("old.bdz")), "old");
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocFixture, SaveOfAnOlderLayoutAsksForTheNewFormat) {
  AddOne();
  doc.SetPathName(P("old.arf"));
  Touch(P("old.arf"), "arf");
  box.Script({kIdYes});
  doc.OnFileSave();
  EXPECT_EQ(box.Shown()[0].text, "Save the file in Velinor 7000 new format(*.bdz).");
  EXPECT_EQ(box.Shown()[0].flags,
            platform::kMbYesNo | platform::kMbIconInformation | platform::kMbDefButton2);
  EXPECT_EQ(doc.GetPathName(), P("old.bdz"));
  EXPECT_EQ(Contents(P("old.arf")), "arf");
  EXPECT_EQ(Contents(P("old.bdz")).substr(0, 10), "Corvan bdz");
  EXPECT_FALSE(doc.IsModified());
  // Saving again asks before replacing the bdz written beside it? No: the path is now bdz.
  box.Clear();
  doc.OnFileSave();
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(DocFixture, SaveOfAnOlderLayoutAsksBeforeReplacingAnExistingBdz) {
  AddOne();
  doc.SetPathName(P("old.arr"));
  Touch(P("old.bdz"));
  box.Script({kIdYes, kIdNo});
  doc.OnFileSave();
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(Contents(P("old.bdz")), "old");
  EXPECT_EQ(doc.GetPathName(), P("old.arr"));
}

TEST_F(DocFixture, SaveAsAppendsBdzToAnotherExtension) {
  AddOne();
  host.settings["Design Path/DotBdz"] = "/layouts/";
  host.saveAnswers = {P("name.txt")};
  doc.OnFileSaveAs();
  EXPECT_EQ(host.saveDialogFolders.back(), "/layouts/");
  EXPECT_EQ(host.saveDialogProposals.back(), "untitled.bdz");
  EXPECT_TRUE(fs::exists(P("name.txt.bdz")));
  EXPECT_EQ(doc.GetPathName(), P("name.txt.bdz"));
  EXPECT_EQ(host.recent.back(), P("name.txt.bdz"));
  EXPECT_EQ(doc.GetTitle(), "name.txt.bdz");
}

TEST_F(DocFixture, CancelledSaveAsChangesNothing) {
  AddOne();
  doc.OnFileSaveAs();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(DocFixture, SavedLayoutReopensAndStoresTheRealListLength) {
  AddOne("a");
  AddOne("b");
  doc.SetDesignCount(7);  // a stale count never reaches the file
  doc.SetHoopKind(0);
  doc.SetSheetLayout(2, 3);
  ASSERT_TRUE(doc.SaveLayoutTo(P("l.bdz")));
  CBroderaDoc other(host);
  ASSERT_TRUE(other.OnOpenDocument(P("l.bdz")));
  EXPECT_EQ(other.GetDesignCount(), 2);
  EXPECT_EQ(other.GetDesignList().front().name, "b");
  EXPECT_EQ(other.GetHoopKind(), 0);
  EXPECT_EQ(other.GetSheetLayout(), std::make_pair(2, 3));
  EXPECT_EQ(other.FormatRead(), editor::LayoutFormat::kBdz);
  EXPECT_FALSE(other.IsModified());
}

TEST_F(DocFixture, AFailedOpenKeepsTheCurrentLayoutAndTellsTheViewWhy) {
  AddOne();
  AddOne();
  const std::string title = doc.GetTitle();
  Touch(P("bad.bdz"), "Corvan bdz\x02");
  EXPECT_FALSE(doc.OnOpenDocument(P("bad.bdz")));
  EXPECT_EQ(host.loadFailures, 1);
  EXPECT_EQ(doc.LoadFailureText(), "This file may be defective.");
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetTitle(), title);

  EXPECT_FALSE(doc.OnOpenDocument(P("gone.bdz")));
  EXPECT_EQ(host.loadFailures, 2);
  EXPECT_EQ(doc.LoadFailureText(), P("gone.bdz") + "\nThis file was not found.");
  EXPECT_EQ(doc.GetDesignCount(), 2);
}

TEST_F(DocFixture, FormatComesFromTheMagicNotTheExtension) {
  edtest::OldStitchSpec block;
  block.stitches = vtest::StitchStreamBuilder().Stitch(4, 4).End().Bytes();
  const auto bytes = edtest::ArrFile("241_PC R.W", {{"x", 10, 10, 1, 1}}, {block});
  std::ofstream(P("looks.bdz"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  doc.SetHoopKind(0);
  ASSERT_TRUE(doc.OnOpenDocument(P("looks.bdz")));
  EXPECT_EQ(doc.FormatRead(), editor::LayoutFormat::kArrCode);
  EXPECT_EQ(doc.GetHoopKind(), 0);  // the arr forms leave the hoop kind as it was
  EXPECT_EQ(doc.GetDesignList().front().rotation, 90);
}

}  // namespace
