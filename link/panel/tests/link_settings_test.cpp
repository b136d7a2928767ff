// The link settings in the profile and the rules of the two settings dialogs.

#include <gtest/gtest.h>

#include "link/panel/link_settings.h"
#include "link/panel/settings_dialogs.h"
#include "link/panel/tests/link_test_env.h"
#include "platform/profile.h"

namespace {

using namespace linkpanel;

class LinkSettings : public ::testing::Test {
 protected:
  void Store(const char* key, const std::string& value) {
    platform::Profile("Pictorel").WriteString(kLinkSection, key, value);
  }
  std::string Written(const char* program, const char* key) {
    return platform::Profile(program).GetString(kLinkSection, key, "<none>");
  }
  lptest::LinkEnvironment env;
};

TEST_F(LinkSettings, MissingAndOutOfRangeValuesFallBackToTheirDefaults) {
  EXPECT_EQ(GetSerialPortName(), "COM1");
  EXPECT_EQ(GetSerialBaudRate(), 38400);
  EXPECT_EQ(GetVersionCode(), -1);
  EXPECT_FALSE(ReadReceivePath());

  Store(kPortKey, "7");
  EXPECT_EQ(GetSerialPortName(), "COM1");
  Store(kPortKey, "6");
  EXPECT_EQ(GetSerialPortName(), "COM6");

  const std::pair<const char*, int> rates[] = {{"1", 4800}, {"2", 9600}, {"3", 19200}, {"4", 38400},
                                               {"5", 57600}, {"9", 38400}, {"0", 38400}, {"x", 38400}};
  for (const auto& [stored, bps] : rates) {
    Store(kRateKey, stored);
    EXPECT_EQ(GetSerialBaudRate(), bps) << stored;
  }

  const std::pair<const char*, int> versions[] = {{"0", -1}, {"-5", -1}, {"junk", -1}, {"1", 1}, {"2", 2}};
  for (const auto& [stored, version] : versions) {
    Store(kVersionKey, stored);
    EXPECT_EQ(GetVersionCode(), version) << stored;
  }
}

TEST_F(LinkSettings, EveryChangeIsWrittenUnderBothPrograms) {
  ASSERT_TRUE(StoreVersionCode(2));
  EXPECT_EQ(Written("Brodera", kVersionKey), "2");
  EXPECT_EQ(Written("Pictorel", kVersionKey), "2");
  ASSERT_TRUE(WriteReceivePath("/home/sew/in"));
  EXPECT_EQ(Written("Brodera", kReceivePathKey), "/home/sew/in");
  EXPECT_EQ(ReadReceivePath().value_or(""), "/home/sew/in");
}

TEST_F(LinkSettings, AReceiveFolderTooLongForAnEntryIsNeitherStoredNorUsed) {
  const std::string longest(kMaxReceivePathBytes, 'a');
  EXPECT_TRUE(WriteReceivePath(longest));
  EXPECT_EQ(ReadReceivePath().value_or(""), longest);
  EXPECT_FALSE(WriteReceivePath(longest + "b"));
  Store(kReceivePathKey, longest + "b");  // written by hand, say
  EXPECT_FALSE(ReadReceivePath());
}

TEST_F(LinkSettings, SettingsDialogStoresItsDefaultsOnOpeningAndTheChoiceOnOk) {
  Store(kPortKey, "7");
  const CommSettingsView view = OpenCommSettings();
  EXPECT_EQ(view.ports, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
  EXPECT_EQ(view.selectedPort, 0);
  EXPECT_EQ(view.checkedRate, 4);
  EXPECT_EQ(Written("Pictorel", kPortKey), "1");
  EXPECT_EQ(Written("Brodera", kRateKey), "4");

  ASSERT_TRUE(AcceptCommSettings(nullptr, 2, 5));
  EXPECT_EQ(GetSerialPortName(), "COM3");
  EXPECT_EQ(GetSerialBaudRate(), 57600);
  EXPECT_EQ(env.boxes.Count(), 0u);
  EXPECT_EQ(RateLabel(1), "4800 bps");
}

TEST_F(LinkSettings, SettingsDialogWithNothingChosenSaysSoAndStoresNothing) {
  ASSERT_TRUE(AcceptCommSettings(nullptr, 1, 2));
  EXPECT_FALSE(AcceptCommSettings(nullptr, -1, 3));
  EXPECT_FALSE(AcceptCommSettings(nullptr, 0, 0));
  const auto shown = env.boxes.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Failed to get the parameter.");
  EXPECT_EQ(shown[0].caption, "Setting serial communication propaties");
  EXPECT_EQ(shown[0].flags & platform::kMbIconMask, platform::kMbIconError);
  EXPECT_EQ(GetSerialPortName(), "COM2");
  EXPECT_EQ(GetSerialBaudRate(), 9600);
}

TEST_F(LinkSettings, VersionDialogShowsTheStoredChoice) {
  {
    VersionDialogRules none(false);
    EXPECT_EQ(none.Caption(), "Select Machine's Version");
    EXPECT_EQ(none.Checked(), -1);
    EXPECT_EQ(none.Note(), "* Click [Halvora] - [Select Machine's Version] \n   to open this dialog again.");
  }
  StoreVersionCode(1);
  VersionDialogRules asked(false);
  EXPECT_EQ(asked.Caption(), "Confirm Machine's Version");
  EXPECT_EQ(asked.Checked(), 1);
  EXPECT_EQ(asked.Note().rfind("* We recomend you to update HV7000's program.\n", 0), 0u);
  asked.Choose(2);
  EXPECT_EQ(asked.Note(), kVersionClickText);
  EXPECT_EQ(VersionDialogRules(true).Caption(), "Select Machine's Version");
  StoreVersionCode(2);
  EXPECT_EQ(VersionDialogRules(false).Checked(), 2);
}

TEST_F(LinkSettings, OkWithNothingCheckedStoresNotChosen) {
  StoreVersionCode(2);
  platform::Profile("Pictorel").WriteString(kLinkSection, kVersionKey, "");
  VersionDialogRules rules(true);
  ASSERT_EQ(rules.Checked(), -1);
  EXPECT_EQ(rules.Accept(), 1);
  EXPECT_EQ(Written("Brodera", kVersionKey), "-1");
  EXPECT_EQ(GetVersionCode(), -1);
}

}  // namespace
