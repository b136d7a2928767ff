#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <thread>

#include "testing/recording_message_box.h"

namespace {

TEST(MessageBox, DefaultAnswerFollowsButtonsAndDefaultButton) {
  EXPECT_EQ(platform::DefaultAnswer(platform::kMbOk), platform::kIdOk);
  EXPECT_EQ(platform::DefaultAnswer(platform::kMbYesNo), platform::kIdYes);
  EXPECT_EQ(platform::DefaultAnswer(platform::kMbYesNo | platform::kMbDefButton2), platform::kIdNo);
  EXPECT_EQ(platform::DefaultAnswer(platform::kMbYesNoCancel | platform::kMbDefButton3),
            platform::kIdCancel);
  EXPECT_EQ(platform::DefaultAnswer(platform::kMbRetryCancel), platform::kIdRetry);
}

TEST(MessageBox, RecorderScriptsAnswersAndRestoresPreviousService) {
  EXPECT_EQ(platform::GetMessageService(), nullptr);
  {
    vtest::RecordingMessageBox box;
    box.Script({platform::kIdNo});
    EXPECT_EQ(platform::MessageBox(nullptr, "Save changes?", "Brodera", platform::kMbYesNo),
              platform::kIdNo);
    // The script ran out: the default button answers.
    EXPECT_EQ(platform::MessageBox(nullptr, "Again?", "Brodera", platform::kMbYesNo),
              platform::kIdYes);
    // A worker thread reaches the same service.
    std::thread([] { platform::MessageBox(nullptr, "From a worker", "Link", platform::kMbOk); }).join();
    const auto shown = box.Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "Save changes?");
    EXPECT_EQ(shown[0].caption, "Brodera");
    EXPECT_EQ(shown[0].flags, unsigned(platform::kMbYesNo));
    EXPECT_EQ(shown[2].caption, "Link");
  }
  EXPECT_EQ(platform::GetMessageService(), nullptr);
}

}  // namespace
