// The transfer frame, its workers and the send dialog's rules against the simulated
// machine, with posted messages drained by the test as the dialog's thread would.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <thread>

#include "link/panel/link_settings.h"
#include "link/panel/send_designs.h"
#include "link/panel/tests/link_test_env.h"
#include "link/panel/transfer_frame.h"
#include "link/panel/usb_link.h"
#include "link/serial/portline.h"
#include "link/transfer_list.h"
#include "platform/post_to_ui.h"
#include "testing/machine/machine_simulator.h"

namespace {

using namespace linkpanel;
using Clock = std::chrono::steady_clock;

TEST(TransferFrameRules, CaptionsFollowTheLink) {
  EXPECT_EQ(LinkCaption("Send Designs", LinkStateOf(0)), "Send Designs - USB Connected");
  EXPECT_EQ(LinkCaption("Send Designs", LinkStateOf(kUsbNotBound)), "Send Designs - COM Port");
  EXPECT_EQ(LinkCaption("Receive Designs", LinkStateOf(-3)), "Receive Designs - USB Disconnected");
  EXPECT_EQ(LinkCaption("Delete Designs", LinkStateOf(5)), "Delete Designs - USB Disconnected");
  // A machine whose device may not be opened is not called disconnected.
  EXPECT_EQ(LinkCaption("Send Designs", LinkStateOf(-15)), "Send Designs - USB Not Permitted");
}

TEST(TransferFrameRules, ProgressNeverDividesByZeroOrOverflows) {
  EXPECT_EQ(ProgressPercent(0, 0), 0);
  EXPECT_EQ(ProgressPercent(512, 0), 0);
  EXPECT_EQ(ProgressPercent(512, 2048), 25);
  EXPECT_EQ(ProgressPercent(2048, 2048), 100);
  EXPECT_EQ(ProgressPercent(4096, 2048), 100);
  EXPECT_EQ(ProgressPercent(2000000000, 2100000000), 95);
  EXPECT_EQ(ProgressCounterText(ProgressCounter(2, 7)), "3 / 7");
  EXPECT_EQ(ProgressCounterText(ProgressCounter(0, 0)), "");
}

// A stand-in for a dialog: it registers for posted messages and keeps them.
class FakeDialog {
 public:
  FakeDialog() {
    platform::RegisterUiReceiver(Handle(), [this](unsigned message, uintptr_t wparam, intptr_t lparam) {
      if (message == kTransferDoneMessage) done.push_back(static_cast<int>(lparam));
      if (message == kTransferProgressMessage) {
        percents.push_back(static_cast<int>(lparam));
        const std::string counter = ProgressCounterText(wparam);
        if (!counter.empty()) counters.push_back(counter);
      }
    });
  }
  ~FakeDialog() { platform::UnregisterUiReceiver(Handle()); }
  platform::WindowHandle Handle() { return this; }

  // Drains posted messages until the end message, as the dialog's event loop would.
  bool WaitForDone(std::chrono::milliseconds limit = std::chrono::milliseconds(20000)) {
    const auto until = Clock::now() + limit;
    while (done.empty() && Clock::now() < until) {
      platform::DeliverPostedMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return !done.empty();
  }

  std::vector<int> done;
  std::vector<int> percents;
  std::vector<std::string> counters;
};

class TransferFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    threadsBefore = lptest::ThreadCount();
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    machine.Start();
    SetLastDestination(0);
  }
  void TearDown() override {
    machine.Stop();
    unsetenv("VELINOR_COM1");
    platform::DeliverPostedMessages();
    EXPECT_FALSE(TransferBusy());
    EXPECT_EQ(lptest::ThreadCountSettledAt(threadsBefore), threadsBefore) << "a worker outlived its test";
    EXPECT_EQ(env.WorkFolderFiles(), std::vector<std::string>{}) << "a temporary file was left";
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }


  // The count step without its dialog: the job run on this thread into the work folder.
  SendDesignsRules::CountDesigns CountOnThisThread(FakeDialog& dialog) {
    return [this, &dialog](int destination, VelinorAbortEvent* abortEvent) {
      const std::filesystem::path file = env.root / "data" / "count.tmp";
      std::filesystem::create_directories(file.parent_path());
      ++counts;
      (void)RunTransferJob(dialog.Handle(), abortEvent, CountDesignsJob(destination, file));
      return TakeDesignCount(file);
    };
  }


  lptest::LinkEnvironment env;
  vtest::MachineSimulator machine;
  int threadsBefore = 0;
  int counts = 0;
};

TEST_F(TransferFrame, AFileListSendRunsOnItsWorkerAndEndsTheDialog) {
  StoreVersionCode(2);
  WriteLinkValue(kRateKey, 5);
  const std::vector<uint8_t> a = lptest::Design(300, 1);
  const std::vector<uint8_t> b = lptest::Design(10, 2);
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("A.qnf", a), env.WriteDesign("B.qnf", b)});
  SendDesignsRules rules(request, dialog.Handle());
  EXPECT_EQ(rules.Open(), "Send Designs - COM Port");
  rules.Start(2, nullptr, CountOnThisThread(dialog));
  EXPECT_TRUE(TransferBusy());
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{1});
  EXPECT_EQ(rules.OnDone(), 1);
  EXPECT_FALSE(TransferBusy());

  const auto stored = machine.Designs(2);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].bytes, a);
  EXPECT_EQ(stored[1].bytes, b);
  ASSERT_FALSE(dialog.percents.empty());
  EXPECT_EQ(dialog.percents.back(), 100);
  EXPECT_EQ(dialog.counters.front(), "1 / 2");
  EXPECT_EQ(dialog.counters.back(), "2 / 2");
  EXPECT_FALSE(machine.TimesOf("rate 57600").empty()) << "the configured rate was not used";
  EXPECT_EQ(env.boxes.Count(), 0u);
  EXPECT_EQ(LastDestination(), 2);
}

TEST_F(TransferFrame, ACutListSendsOnlyThePlacesLeftAndSaysTheMachineIsFull) {
  for (int i = 0; i < 98; ++i) machine.AddDesign(1, "M" + std::to_string(i) + ".qnf", lptest::Design(2, 1));
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(3, 1)),
                             env.WriteDesign("B.qnf", lptest::Design(3, 2)),
                             env.WriteDesign("C.qnf", lptest::Design(3, 3))});
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(1, nullptr, CountOnThisThread(dialog));
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(rules.OnDone(), 1);
  EXPECT_EQ(machine.Designs(1).size(), 100u);
  EXPECT_EQ(machine.TimesOf("cmd 4").size(), 2u);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"100 designs have been registered.\nNo more design can be registered."});
}

TEST_F(TransferFrame, AFailedDesignAfterTheCutIsNeverTakenForSent) {
  for (int i = 0; i < 99; ++i) machine.AddDesign(1, "M" + std::to_string(i) + ".qnf", lptest::Design(2, 1));
  machine.FailDesign("A.qnf");
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(3, 1)),
                             env.WriteDesign("B.qnf", lptest::Design(3, 2))});
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(1, nullptr, CountOnThisThread(dialog));
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{0});
  EXPECT_EQ(rules.OnDone(), 1);
  // The failure is told, and the "machine is full" note is not, since the send failed.
  const auto texts = env.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(std::count(texts.begin(), texts.end(),
                       "100 designs have been registered.\nNo more design can be registered."),
            0);
  EXPECT_EQ(env.boxes.Shown().front().caption, "Sending");
}

TEST_F(TransferFrame, AFullMachineEndsTheStartBeforeAnyTransfer) {
  for (int i = 0; i < 100; ++i) machine.AddDesign(2, "M" + std::to_string(i) + ".qnf", lptest::Design(2, 1));
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(3, 1))});
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(2, nullptr, CountOnThisThread(dialog));
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{0});
  EXPECT_EQ(rules.OnDone(), 1);
  EXPECT_TRUE(machine.TimesOf("cmd 4").empty());
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"100 designs are already registered.\nNo design can be registered."});
}

TEST_F(TransferFrame, ClosingDuringASendAbortsItAndWaitsForTheWorker) {
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("BIG.qnf", lptest::Design(6000, 1))});
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(1, nullptr, CountOnThisThread(dialog));
  // Wait for the first block, then close.
  const auto until = Clock::now() + std::chrono::seconds(10);
  while (dialog.percents.empty() && Clock::now() < until) {
    platform::DeliverPostedMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_FALSE(dialog.percents.empty());
  EXPECT_FALSE(rules.OnClose()) << "the dialog must wait for its worker";
  EXPECT_TRUE(TransferBusy());
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{0});
  EXPECT_EQ(rules.OnDone(), 1);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"Communication is aborted."});
}

TEST_F(TransferFrame, ClosingBeforeStartEndsWithTwoAndNoTransfer) {
  FakeDialog dialog;
  TransferDialogFrame frame("Send Designs", dialog.Handle());
  EXPECT_EQ(frame.OnClose().value_or(0), 2);
  EXPECT_FALSE(TransferBusy());
  EXPECT_TRUE(machine.Log().empty());
}

TEST_F(TransferFrame, TheBusyFlagIsClearedHoweverTheDialogEnds) {
  FakeDialog dialog;
  {
    TransferDialogFrame frame("Send Designs", dialog.Handle());
    frame.MarkStarted();
    EXPECT_TRUE(TransferBusy());
  }  // the dialog went away without its end message
  EXPECT_FALSE(TransferBusy());
}

TEST_F(TransferFrame, ARefusalIsShownWithTheActionsCaption) {
  machine.RefuseCommand(4, 2);
  FakeDialog dialog;
  SendRequest request;
  request.listFile = env.WriteList({env.WriteDesign("A.qnf", lptest::Design(3, 1))});
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(1, nullptr, CountOnThisThread(dialog));
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{0});
  rules.OnDone();
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Sending");
  EXPECT_EQ(env.boxes.Shown()[0].owner, dialog.Handle());
}

TEST_F(TransferFrame, AWorkerWhoseDialogIsGoneDoesNothing) {
  int gone = 0;
  TransferJob job = CountDesignsJob(1, env.root / "never.tmp");
  EXPECT_EQ(RunTransferJob(&gone, nullptr, job), kTransferAborted);
  EXPECT_TRUE(machine.Log().empty());
}

TEST_F(TransferFrame, ADirectSendGoesUnchangedUnderItsName) {
  std::vector<uint8_t> image = lptest::Design(40, 5);
  image.insert(image.end(), {1, 2, 3});  // sent as it is: nothing trimmed from memory
  FakeDialog dialog;
  SendRequest request;
  request.mode = SendMode::kDirect;
  request.design = image.data();
  request.designSize = static_cast<unsigned>(image.size());
  request.name = "Kite.qnf";
  SendDesignsRules rules(request, dialog.Handle());
  rules.Start(1, nullptr, CountOnThisThread(dialog));
  ASSERT_TRUE(dialog.WaitForDone());
  EXPECT_EQ(dialog.done, std::vector<int>{1});
  rules.OnDone();
  const auto stored = machine.Designs(1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].name, "Kite.qnf");
  EXPECT_EQ(stored[0].bytes, image);
}

TEST_F(TransferFrame, TheSendWaitsHalfASecondBeforeOpeningThePort) {
  FakeDialog dialog;
  TransferJob job;
  job.caption = "Sending";
  job.pauseBeforeSerial = true;
  job.overSerial = [](int, int*) { return 0; };
  const auto started = Clock::now();
  EXPECT_EQ(RunTransferJob(dialog.Handle(), nullptr, job), 0);
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(490));
  job.pauseBeforeSerial = false;
  const auto second = Clock::now();
  EXPECT_EQ(RunTransferJob(dialog.Handle(), nullptr, job), 0);
  EXPECT_LT(Clock::now() - second, std::chrono::milliseconds(400));
}

}  // namespace
