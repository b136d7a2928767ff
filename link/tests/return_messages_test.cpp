#include "link/return_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/link_types.h"
#include "platform/file_io.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

using namespace transfer;
using platform::kMbIconError;
using platform::kMbIconExclamation;
using platform::kMbTopmost;

void* const kOwner = reinterpret_cast<void*>(0x1);

std::vector<uint8_t> Log(int records) {
  std::vector<uint8_t> log(static_cast<std::size_t>(records) * 260, 0);
  for (int i = 0; i < records; ++i) {
    const std::string name = "/w/design" + std::to_string(i + 1) + ".qnf";
    std::memcpy(log.data() + i * 260, name.data(), name.size());
  }
  return log;
}

TEST(ReturnMessages, EveryCodeHasItsTextAndIcon) {
  struct Case {
    int code;
    const char* text;
    unsigned icon;
  };
  const Case cases[] = {
      {-1, "Communication time out.", kMbIconError},
      {-3, "Failed to initialize communication port.", kMbIconError},
      {-4, "Received broken packet.", kMbIconError},
      {-5, "Failed to send a packet.", kMbIconError},
      {-6, "Invalid command is received.", kMbIconError},
      {-7, "Failed to allocate memory.", kMbIconError},
      {-8, "Failed to open the file.", kMbIconError},
      {-9, "Failed to read a file.", kMbIconError},
      {-10, "Failed to write a file.", kMbIconError},
      {-11, "Communication is aborted.", kMbIconExclamation},
      {-13, "Machine fail.", kMbIconExclamation},
      {-99, "Communication logic error.", kMbIconExclamation},
      {-2, "No defined error.", kMbIconExclamation},
      {5, "No defined error.", kMbIconExclamation},
  };
  for (const Case& c : cases) {
    const ReturnMessage message = ComposeReturnMessage(LinkKind::kSerial, c.code, 0);
    EXPECT_EQ(message.kind, ReturnMessage::Kind::kText) << c.code;
    EXPECT_EQ(message.text, c.text) << c.code;
    EXPECT_EQ(message.flags, platform::kMbOk | c.icon | kMbTopmost) << c.code;
  }
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, 0, 0).kind, ReturnMessage::Kind::kNone);
}

TEST(ReturnMessages, RefusalTextFollowsTheMachinesReason) {
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 32).text, "Not PC-Link Mode.");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 64).text, "Cannot be registered.");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 96).text, "(Now preparing.)");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 97).text, "Cannot be received.");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kUsb, -12, 128).text, "Cannot be deleted.");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 1).text, "Communication error.");
  EXPECT_EQ(ComposeReturnMessage(LinkKind::kSerial, -12, 64).flags & platform::kMbIconMask,
            kMbIconExclamation);
}

TEST(ReturnMessages, TheTwoLinksSwapTheMeaningsOfThirteenAndFourteen) {
  const ReturnMessage serial14 = ComposeReturnMessage(LinkKind::kSerial, -14, 0);
  EXPECT_EQ(serial14.kind, ReturnMessage::Kind::kFailedDesignList);
  EXPECT_EQ(serial14.heading, "Failed to send a design.\n");
  const ReturnMessage usb13 = ComposeReturnMessage(LinkKind::kUsb, -13, 0);
  EXPECT_EQ(usb13.kind, ReturnMessage::Kind::kFailedDesignList);
  EXPECT_EQ(usb13.heading, "Sending designs is failed.\n");
  const ReturnMessage usb14 = ComposeReturnMessage(LinkKind::kUsb, -14, 0);
  EXPECT_EQ(usb14.text, "Command error.");
  EXPECT_EQ(usb14.flags & platform::kMbIconMask, kMbIconError);
}

TEST(FailedDesignList, ShowsFiveNamesThenHowManyMore) {
  const std::string text = ComposeFailedDesignList(Log(7), "Failed to send a design.\n");
  EXPECT_EQ(text,
            "Failed to send a design.\n/w/design1.qnf\n/w/design2.qnf\n/w/design3.qnf\n"
            "/w/design4.qnf\n/w/design5.qnf\n... and more 2 files\n");
  EXPECT_EQ(ComposeFailedDesignList(Log(5), "H\n"),
            "H\n/w/design1.qnf\n/w/design2.qnf\n/w/design3.qnf\n/w/design4.qnf\n/w/design5.qnf\n");
}

TEST(FailedDesignList, WithoutAWholeRecordSaysOnlyThatSendingFailed) {
  EXPECT_EQ(ComposeFailedDesignList({}, "H\n"), "Failed to send a design.");
  EXPECT_EQ(ComposeFailedDesignList(std::vector<uint8_t>(100, 'a'), "H\n"),
            "Failed to send a design.");
  // The list ends at an empty record.
  std::vector<uint8_t> withHole = Log(3);
  std::fill(withHole.begin() + 260, withHole.begin() + 520, 0);
  EXPECT_EQ(ComposeFailedDesignList(withHole, "H\n"), "H\n/w/design1.qnf\n");
  EXPECT_EQ(ComposeFailedDesignList(std::vector<uint8_t>(520, 0), "H\n"), "Failed to send a design.");
  // A record without a NUL shows its 260 bytes and no more.
  const std::string text = ComposeFailedDesignList(std::vector<uint8_t>(300, 'a'), "H\n");
  EXPECT_EQ(text, "H\n" + std::string(260, 'a') + "\n");
}

TEST(FailedDesignList, LogIsAppendedShownAndDeleted) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  const auto log = dir / "$_ErrLog.tmp";
  ASSERT_TRUE(AppendErrorLog(log, "/w/a.qnf"));
  ASSERT_TRUE(AppendErrorLog(log, std::string(300, 'b')));
  EXPECT_EQ(std::filesystem::file_size(log), 520u);
  EXPECT_EQ(ShowReturnMessage(LinkKind::kSerial, kOwner, "Sending", -14, 0, log), 1);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text,
            "Failed to send a design.\n/w/a.qnf\n" + std::string(260, 'b') + "\n");
  EXPECT_EQ(box.Shown()[0].caption, "Sending");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbOk | kMbIconExclamation | kMbTopmost);
  EXPECT_FALSE(std::filesystem::exists(log));
  // No log at all.
  EXPECT_EQ(ShowReturnMessage(LinkKind::kSerial, kOwner, "Sending", -14, 0, log), 1);
  EXPECT_EQ(box.Shown()[1].text, "Failed to send a design.");
}

TEST(ReturnMessages, ShownWithTheCallersCaptionAndOnlyWithAnOwner) {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  EXPECT_EQ(ShowReturnMessage(LinkKind::kSerial, kOwner, "Sending", 0, 0, dir / "log"), 1);
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_EQ(ShowReturnMessage(LinkKind::kSerial, nullptr, "Sending", -1, 0, dir / "log"), 1);
  EXPECT_EQ(box.Count(), 0u);
  box.Script({platform::kIdOk});
  EXPECT_EQ(ShowReturnMessage(LinkKind::kSerial, kOwner, "Delete", -12, 96, dir / "log"),
            platform::kIdOk);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "(Now preparing.)");
  EXPECT_EQ(box.Shown()[0].caption, "Delete");
}

}  // namespace
