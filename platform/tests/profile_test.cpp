#include "platform/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "testing/temp_dir.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetProfileRoot(dir_.Path()); }
  void TearDown() override { platform::SetProfileRoot({}); }
  vtest::TempDir dir_;
};

TEST_F(ProfileTest, LivesUnderTheMakerAndProgramName) {
  platform::Profile profile("Brodera");
  EXPECT_EQ(profile.Path(), dir_.Path() / "Corvan" / "Brodera.ini");
  EXPECT_TRUE(profile.WriteInt("Settings", "Zoom", 150));
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "Corvan" / "Brodera.ini"));
}

TEST_F(ProfileTest, ValuesRoundTripAndDefaultsApply) {
  platform::Profile profile("Pictorel");
  EXPECT_EQ(profile.GetInt("Settings", "Missing", 7), 7);
  EXPECT_EQ(profile.GetString("Settings", "Missing", "x"), "x");
  ASSERT_TRUE(profile.WriteInt("Settings", "Angle", -45));
  ASSERT_TRUE(profile.WriteString("Design Path", "DotSew", "/home/a b/designs"));
  ASSERT_TRUE(profile.WriteString("Project", "Note", "two\nlines \\ and = sign"));
  const std::vector<uint8_t> placement{0, 1, 0xFE, 0xFF};
  ASSERT_TRUE(profile.WriteBinary("Settings", "WindowPlacement", placement));

  // A second instance reads the same file; names match without regard to case.
  platform::Profile again("Pictorel");
  EXPECT_EQ(again.GetInt("settings", "ANGLE", 0), -45);
  EXPECT_EQ(again.GetString("Design Path", "DotSew"), "/home/a b/designs");
  EXPECT_EQ(again.GetString("Project", "Note"), "two\nlines \\ and = sign");
  EXPECT_EQ(again.GetBinary("Settings", "WindowPlacement"), placement);

  // Overwriting keeps one entry; another program's file is separate.
  ASSERT_TRUE(again.WriteInt("SETTINGS", "angle", 90));
  EXPECT_EQ(profile.GetInt("Settings", "Angle", 0), 90);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Settings", "Angle", 3), 3);
}

TEST_F(ProfileTest, MalformedValuesGiveTheDefault) {
  platform::Profile profile("Tessaly");
  ASSERT_TRUE(profile.WriteString("Rs-232c", "Baud", "fast"));
  ASSERT_TRUE(profile.WriteString("Rs-232c", "Port", "12abc"));
  ASSERT_TRUE(profile.WriteString("Settings", "Blob", "ABC"));
  EXPECT_EQ(profile.GetInt("Rs-232c", "Baud", 9600), 9600);
  EXPECT_EQ(profile.GetInt("Rs-232c", "Port", 1), 1);
  EXPECT_FALSE(profile.GetBinary("Settings", "Blob").has_value());

  // A hand-edited file with junk lines still reads.
  std::ofstream(profile.Path()) << "junk\n[Rs-232c]\n Baud = 38400 \nno equals\n";
  EXPECT_EQ(profile.GetInt("Rs-232c", "Baud", 0), 38400);
}

TEST_F(ProfileTest, ConcurrentWritersLoseNothing) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      platform::Profile profile("Brodera");
      for (int i = 0; i < 25; ++i) profile.WriteInt("T" + std::to_string(t), "K" + std::to_string(i), i);
    });
  }
  for (auto& th : threads) th.join();
  platform::Profile profile("Brodera");
  for (int t = 0; t < 4; ++t) {
    for (int i = 0; i < 25; ++i) {
      ASSERT_EQ(profile.GetInt("T" + std::to_string(t), "K" + std::to_string(i), -1), i);
    }
  }
}

}  // namespace
