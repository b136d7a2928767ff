#include "editor/brodera_app.h"

#include <gtest/gtest.h>

#include <array>

#include <fstream>

#include "editor/command_ids.h"
#include "platform/command_router.h"
#include "platform/profile.h"
#include "platform/window_placement.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = editor::cmd;

TEST(Printable, TwiceTheMillimetresWithLandscapeFallbacks) {
  EXPECT_EQ(editor::PrintableFromMillimetres(120, 300).width, 498);  // not 240
  EXPECT_EQ(editor::PrintableFromMillimetres(120, 300).height, 600);
  EXPECT_EQ(editor::PrintableFromMillimetres(277, 178).width, 554);
  EXPECT_EQ(editor::PrintableFromMillimetres(277, 178).height, 356);
  EXPECT_EQ(editor::PrintableFromMillimetres(249, 179).height, 358);
  // The thresholds apply to the doubled size: a 200 x 150 mm page is 400 x 300 units.
  EXPECT_EQ(editor::PrintableFromMillimetres(200, 150).width, 400);
  EXPECT_EQ(editor::PrintableFromMillimetres(200, 150).height, 300);
  EXPECT_EQ(editor::PrintableFromMillimetres(124, 89).width, 498);
  EXPECT_EQ(editor::PrintableFromMillimetres(125, 89).width, 250);
  EXPECT_EQ(editor::PrintableFromMillimetres(125, 89).height, 360);
  EXPECT_EQ(editor::PrintableFromMillimetres(125, 90).height, 180);
  editor::CBroderaApp app("/opt/b/", "/tmp/x/");
  EXPECT_EQ(app.Printable().width, 498);
  app.MeasurePrinter(std::nullopt);  // no printer: kept
  EXPECT_EQ(app.Printable().height, 360);
  app.MeasurePrinter(std::make_pair(277, 190));
  EXPECT_EQ(app.Printable().width, 554);
  app.MeasurePrinter(std::nullopt);
  EXPECT_EQ(app.Printable().width, 554);
}

TEST(CommandLine, FileAndSplashOption) {
  auto info = editor::ParseCommandLine({"-nologo", "/home/u/a.bdz", "b.bdz"});
  EXPECT_FALSE(info.showSplash);
  EXPECT_EQ(info.fileToOpen, "/home/u/a.bdz");
  info = editor::ParseCommandLine({});
  EXPECT_TRUE(info.showSplash);
  EXPECT_EQ(info.fileToOpen, "");
}

TEST(CommandLine, AFileThatCannotBeReadIsToldApartFromADefectiveOne) {
  vtest::TempDir dir;
  EXPECT_FALSE(editor::CommandLineFileReadable((dir.Path() / "missing.bdz").string()));
  EXPECT_FALSE(editor::CommandLineFileReadable(dir.Path().string()));
  const auto defective = dir.Path() / "bad.bdz";
  std::ofstream(defective) << "Corvan bd";
  EXPECT_TRUE(editor::CommandLineFileReadable(defective.string()));
}

TEST(ProgramFolder, IsTheExecutablesFolderWithASeparator) {
  EXPECT_EQ(editor::ProgramFolderOf("/opt/velinor/bin/brodera"), "/opt/velinor/bin/");
}

// A target that records what ran, for the routing order.
struct Target : platform::CommandTarget {
  int id;
  bool enabled;
  std::vector<std::string>* log;
  std::string name;
  Target(int i, bool e, std::vector<std::string>* l, std::string n) : id(i), enabled(e), log(l), name(std::move(n)) {}
  platform::CommandState QueryCommand(int c) const override {
    return c == id ? platform::CommandState{true, enabled, false} : platform::CommandState{};
  }
  void RunCommand(int) override { log->push_back(name); }
};

TEST(CommandRouter, FirstTargetThatKnowsTheCommandRunsItOnlyWhenEnabled) {
  std::vector<std::string> log;
  Target view(1, true, &log, "view"), doc(1, true, &log, "doc"), frame(2, false, &log, "frame"),
      app(3, true, &log, "app");
  platform::CommandRouter router;
  router.SetChain({&view, &doc, nullptr, &frame, &app});
  EXPECT_TRUE(router.Dispatch(1));
  EXPECT_FALSE(router.Dispatch(2));  // known but disabled
  EXPECT_TRUE(router.Dispatch(3));
  EXPECT_FALSE(router.Dispatch(4));
  EXPECT_EQ(log, (std::vector<std::string>{"view", "app"}));
  EXPECT_TRUE(router.Query(2).handled);
  EXPECT_FALSE(router.Query(2).enabled);
  EXPECT_FALSE(router.Query(4).handled);
}

struct ProfileDir : ::testing::Test {
  vtest::TempDir dir;
  ProfileDir() { platform::SetProfileRoot(dir.Path()); }
  ~ProfileDir() override { platform::SetProfileRoot({}); }
};

TEST_F(ProfileDir, RecentFilesKeepFourNewestFirstEachOnce) {
  platform::RecentFileList list("Brodera", 4);
  for (const char* p : {"a", "b", "c", "d", "e", "c"}) list.Add(p);
  EXPECT_EQ(list.Paths(), (std::vector<std::string>{"c", "e", "d", "b"}));
  platform::RecentFileList again("Brodera", 4);
  again.Load();
  EXPECT_EQ(again.Paths(), list.Paths());
  EXPECT_EQ(platform::Profile("Brodera").GetString("Recent File List", "File1"), "c");
  again.Remove("e");
  again.Load();
  EXPECT_EQ(again.Paths(), (std::vector<std::string>{"c", "d", "b"}));
}

TEST_F(ProfileDir, ReAddingAnEntryOfTheListItselfKeepsTheListWhole) {
  platform::RecentFileList list("Brodera", 4);
  // Paths longer than any short-string buffer, so a freed element would be read from the heap.
  std::vector<std::string> paths;
  for (char c : {'a', 'b', 'c', 'd'}) paths.push_back("/home/user/layouts/" + std::string(40, c) + ".bdz");
  for (const std::string& p : paths) list.Add(p);
  for (int i = 3; i >= 0; --i) {
    std::vector<std::string> expected = list.Paths();
    const std::string picked = expected[i];
    expected.erase(expected.begin() + i);
    expected.insert(expected.begin(), picked);
    list.Add(list.Paths()[i]);  // as the File menu does: the path is the list's own element
    EXPECT_EQ(list.Paths(), expected);
  }
  platform::RecentFileList again("Brodera", 4);
  again.Load();
  EXPECT_EQ(again.Paths(), list.Paths());
  again.Remove(again.Paths()[1]);
  EXPECT_EQ(again.Paths().size(), 3u);
  EXPECT_EQ(again.Paths()[0], list.Paths()[0]);
}

TEST_F(ProfileDir, AppCommandsAndRecentEntries) {
  editor::CBroderaApp app("/opt/b/", (dir / "work").string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "work"));
  EXPECT_TRUE(app.QueryCommand(cmd::kFileNew).enabled);
  EXPECT_FALSE(app.QueryCommand(cmd::kFileMru1).enabled);
  app.RecentFiles().Add("/x/a.bdz");
  EXPECT_TRUE(app.QueryCommand(cmd::kFileMru1).enabled);
  EXPECT_FALSE(app.QueryCommand(cmd::kFileMru1 + 1).enabled);
  EXPECT_FALSE(app.QueryCommand(cmd::kFileMru1 + 4).handled);
}

TEST(WindowPlacement, ASavedWindowIsBroughtBackOntoASmallerScreen) {
  const platform::ScreenArea laptop{0, 0, 1366, 740};
  auto fitted = [&](int l, int t, int r, int b) {
    const platform::WindowPlacement p = platform::FitPlacementOnScreen({0, 1, -1, -1, -1, -1, l, t, r, b}, laptop);
    return std::array<int, 4>{p.left, p.top, p.right, p.bottom};
  };
  // Saved on a large screen, far to the right and below: moved in, its size kept.
  EXPECT_EQ(fitted(1800, 900, 2700, 1600), (std::array<int, 4>{466, 40, 1366, 740}));
  // Larger than the screen: shrunk to it.
  EXPECT_EQ(fitted(-50, -20, 1870, 1180), (std::array<int, 4>{0, 0, 1366, 740}));
  // Off the left and top edges: moved in.
  EXPECT_EQ(fitted(-300, -100, 600, 500), (std::array<int, 4>{0, 0, 900, 600}));
  // On the screen already: left where it is.
  EXPECT_EQ(fitted(10, 20, 810, 620), (std::array<int, 4>{10, 20, 810, 620}));
  // A second screen to the left of the first one.
  const platform::WindowPlacement left = platform::FitPlacementOnScreen({0, 1, -1, -1, -1, -1, -900, 10, -100, 610}, {-1280, 0, 0, 1024});
  EXPECT_EQ(left.left, -900);
}

TEST(WindowPlacement, TenIntegersRoundTripAndAnythingElseIsIgnored) {
  platform::WindowPlacement p{2, 3, -1, -1, -8, -8, 10, 20, 810, 620};
  const std::string text = platform::FormatWindowPlacement(p);
  EXPECT_EQ(text, "2,3,-1,-1,-8,-8,10,20,810,620");
  EXPECT_EQ(platform::ParseWindowPlacement(text), p);
  EXPECT_TRUE(p.Maximized());
  EXPECT_FALSE(platform::ParseWindowPlacement("2,3,-1,-1,-8,-8,10,20,810"));
  EXPECT_FALSE(platform::ParseWindowPlacement("2,3,-1,-1,-8,-8,10,20,810,620,1"));
  EXPECT_FALSE(platform::ParseWindowPlacement("2,3,-1,-1,-8,-8,10,20,810,x"));
  EXPECT_FALSE(platform::ParseWindowPlacement(""));
  EXPECT_FALSE(platform::ParseWindowPlacement("0,1,0,0,0,0,10,20,10,620"));  // empty rectangle
}

}  // namespace
