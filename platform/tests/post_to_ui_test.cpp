// Messages posted from workers to a window, delivered on the thread that drains them.

#include "platform/post_to_ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr unsigned kDone = platform::kUserMessage + 50;

TEST(PostToUi, MessagesArriveInOrderOnTheDrainingThreadAndNeverForAClosedWindow) {
  int window = 0;
  int closed = 0;
  std::vector<std::pair<unsigned, intptr_t>> got;
  const auto drainer = std::this_thread::get_id();
  platform::RegisterUiReceiver(&window, [&](unsigned message, uintptr_t, intptr_t lparam) {
    EXPECT_EQ(std::this_thread::get_id(), drainer);
    got.emplace_back(message, lparam);
  });
  platform::RegisterUiReceiver(&closed, [&](unsigned, uintptr_t, intptr_t) { ADD_FAILURE(); });
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) platform::PostToUi(&window, kDone, 0, i);
    platform::PostToUi(&closed, kDone, 0, 1);
  });
  worker.join();
  platform::UnregisterUiReceiver(&closed);
  EXPECT_FALSE(platform::IsUiReceiverRegistered(&closed));
  EXPECT_EQ(platform::DeliverPostedMessages(), 50);
  ASSERT_EQ(got.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(got[i].second, i);
  platform::UnregisterUiReceiver(&window);
  EXPECT_EQ(platform::DeliverPostedMessages(), 0);
}

TEST(PostToUi, AWindowMadeAtAClosedWindowsAddressGetsNoneOfItsMessages) {
  int window = 0;
  platform::RegisterUiReceiver(&window, [](unsigned, uintptr_t, intptr_t) { ADD_FAILURE(); });
  platform::PostToUi(&window, kDone, 0, 1);
  platform::UnregisterUiReceiver(&window);
  int got = 0;
  platform::RegisterUiReceiver(&window, [&](unsigned, uintptr_t, intptr_t) { ++got; });
  EXPECT_EQ(platform::DeliverPostedMessages(), 0);
  EXPECT_EQ(got, 0);
  platform::UnregisterUiReceiver(&window);
}

TEST(PostToUi, EveryPostWakesTheUserInterfaceThread) {
  std::atomic<int> wakes{0};
  platform::SetUiWakeUp([&] { ++wakes; });
  int window = 0;
  int got = 0;
  platform::RegisterUiReceiver(&window, [&](unsigned, uintptr_t, intptr_t) { ++got; });
  std::thread worker([&] {
    platform::PostToUi(&window, kDone, 0, 1);
    platform::PostToUi(&window, kDone, 0, 1);
  });
  worker.join();
  platform::SetUiWakeUp(nullptr);
  EXPECT_EQ(wakes.load(), 2);
  EXPECT_EQ(got, 0) << "nothing is delivered before the queue is drained";
  EXPECT_EQ(platform::DeliverPostedMessages(), 2);
  platform::UnregisterUiReceiver(&window);
}

}  // namespace
