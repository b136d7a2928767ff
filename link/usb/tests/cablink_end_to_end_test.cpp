// Cablink's exported sequences against the simulated machine standing in for its USB
// device: what goes out in each control call, the designs that arrive, the files that come
// back, and every way a transfer ends.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/return_messages.h"
#include "link/transfer_list.h"
#include "link/usb/cablink.h"
#include "platform/file_io.h"
#include "platform/post_to_ui.h"
#include "platform/usb_device.h"
#include "testing/machine/machine_simulator.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

// How long a test waits for a notice or for the machine to get somewhere: generous, since a
// loaded machine only ever makes the wait longer, never the outcome different.
constexpr std::chrono::seconds kNoticeWait{30};

// A QNF design of pairCount stitch pairs, then extra bytes after its end pair.
std::vector<uint8_t> Design(int pairCount, uint8_t seed, int trailingBytes = 0) {
  vtest::QnfFileSpec spec;
  for (int i = 0; i < pairCount; ++i) {
    spec.stitches.push_back(static_cast<uint8_t>((i * 3 + seed) % 100));
    spec.stitches.push_back(static_cast<uint8_t>((i * 7 + seed) % 100));
  }
  spec.stitches.push_back(0x80);
  spec.stitches.push_back(0x10);
  std::vector<uint8_t> file = vtest::BuildQnfFile(spec);
  file.insert(file.end(), static_cast<std::size_t>(trailingBytes), 0xEE);
  return file;
}

std::vector<uint8_t> Bytes(std::size_t count, uint8_t seed) {
  std::vector<uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + seed);
  return bytes;
}

struct Progress {
  int fileIndex, fileCount, bytesDone, bytesTotal;
};
std::vector<Progress> progress;
int abortAfterCalls = -1;
int Record(int fileIndex, int fileCount, int bytesDone, int bytesTotal) {
  progress.push_back({fileIndex, fileCount, bytesDone, bytesTotal});
  return static_cast<int>(progress.size()) == abortAfterCalls ? 0 : 1;
}

int retriesLeft = 0;
int RetryOnce(const unsigned char*) { return retriesLeft-- > 0 ? 1 : 0; }

class Cablink : public ::testing::Test {
 protected:
  void SetUp() override {
    progress.clear();
    abortAfterCalls = -1;
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv(platform::kUsbDeviceEnvironment, machine.UsbPath().c_str(), 1);
    std::filesystem::create_directories(root / "designs");
    machine.AttachUsb();
    abort = AbortEventCreate();
    ASSERT_EQ(USB_Initialize(nullptr, abort), 0);
  }
  void TearDown() override {
    EXPECT_EQ(USB_Terminate(), 0);
    AbortEventDestroy(abort);
    unsetenv(platform::kUsbDeviceEnvironment);
    unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(machine.Errors().empty()) << machine.Errors().front();
  }

  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = root / "designs" / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, bytes));
    return path.string();
  }
  // A list of n entries and the empty one after them.
  std::vector<TransferListEntry> List(const std::vector<std::string>& paths, uint8_t destination,
                                      std::vector<uint8_t> numbers = {}) {
    std::vector<TransferListEntry> list(paths.size() + 1);
    std::memset(list.data(), 0, list.size() * sizeof(TransferListEntry));
    for (std::size_t i = 0; i < paths.size(); ++i) {
      EXPECT_TRUE(transfer::SetEntryPath(list[i], paths[i]));
      list[i].destination = destination;
      list[i].designNo = i < numbers.size() ? numbers[i] : 0;
    }
    return list;
  }
  int CallsStartingWith(const std::string& prefix) const {
    int count = 0;
    for (const std::string& call : machine.UsbCalls()) count += call.rfind(prefix, 0) == 0;
    return count;
  }

  vtest::TempDir root;
  vtest::MachineSimulator machine;
  vtest::RecordingMessageBox boxes;
  VelinorAbortEvent* abort = nullptr;
};

TEST_F(Cablink, SendsEachDesignAsItsRecordAndTrimmedBytesInWholeBlocks) {
  const std::vector<uint8_t> first = Design(400, 1, 37);  // bytes after the end pair stay home
  const std::vector<uint8_t> second = Design(10, 2);
  const std::string firstPath = WriteFile("my rose.qnf", first);
  const std::string secondPath = WriteFile("b.QNF", second);
  std::vector<TransferListEntry> list = List({firstPath, secondPath}, 6);
  int detail = 0;
  ASSERT_EQ(USB_Download_Sequence(list.data(), 2, &detail, Record), 0);

  const auto stored = machine.Designs(6);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].name, "my_rose.qnf");
  EXPECT_EQ(stored[0].bytes, std::vector<uint8_t>(first.begin(), first.end() - 37));
  EXPECT_EQ(stored[1].name, "b.QNF");
  EXPECT_EQ(stored[1].bytes, second);

  // The announced length is the record and the design, without the padding: 16 + the
  // trimmed bytes for "my_rose.qnf" (11 characters: a 12-byte name area, 20-byte record).
  const uint32_t announced = 20 + static_cast<uint32_t>(first.size() - 37);
  char expected[32];
  std::snprintf(expected, sizeof expected, "8000200C 06 %02X %02X %02X", announced >> 16,
                announced & 0xFF, (announced >> 8) & 0xFF);
  const auto calls = machine.UsbCalls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], expected);
  EXPECT_EQ(calls[1], "80002024 01 00 00 00");

  // One callback per 512-byte block, counting the padded image.
  const int padded = static_cast<int>((announced + 511) / 512 * 512);
  int firstFileCalls = 0;
  for (const Progress& p : progress) firstFileCalls += p.fileIndex == 0;
  EXPECT_EQ(firstFileCalls, padded / 512);
  EXPECT_EQ(progress.front().bytesDone, 512);
  EXPECT_EQ(progress[firstFileCalls - 1].bytesDone, padded);
  EXPECT_EQ(progress[firstFileCalls - 1].bytesTotal, padded);
  EXPECT_EQ(progress.back().fileIndex, 1);
  EXPECT_EQ(progress.back().fileCount, 2);
}

TEST_F(Cablink, AnEmptyPathBeforeTheCountEndsWithTheFailedListAfterSendingTheOthers) {
  const std::string a = WriteFile("a.qnf", Design(5, 1));
  const std::string b = WriteFile("b.qnf", Design(5, 2));
  std::vector<TransferListEntry> list = List({a, b, "x"}, 1);
  list[2].path[0] = '\0';  // the list cut at the machine's limit
  int detail = 0;
  EXPECT_EQ(USB_Download_Sequence(list.data(), 3, &detail, nullptr), kTransferMachineFail);
  EXPECT_EQ(machine.Designs(1).size(), 2u);
  // No design failed, so there is no list to show.
  int owner = 0;
  EXPECT_EQ(USB_DisplayMessageByReturnCode(&owner, "Sending", -13, 0), 1);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Failed to send a design.");
}

TEST_F(Cablink, DesignsTheMachineFailsAreListedAndTheSendGoesOn) {
  const std::string a = WriteFile("a.qnf", Design(5, 1));
  const std::string b = WriteFile("b.qnf", Design(5, 2));
  const std::string c = WriteFile("c.qnf", Design(5, 3));
  machine.FailDesign("b.qnf");
  std::vector<TransferListEntry> list = List({a, b, c}, 1);
  int detail = 0;
  EXPECT_EQ(USB_Download_Sequence(list.data(), 3, &detail, nullptr), kTransferMachineFail);
  EXPECT_EQ(machine.Designs(1).size(), 2u);
  int owner = 0;
  EXPECT_EQ(USB_DisplayMessageByReturnCode(&owner, "Sending", -13, 0), 1);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Sending designs is failed.\n" + b + "\n");
  EXPECT_EQ(boxes.Shown()[0].caption, "Sending");
  // Shown once: the log goes with it.
  EXPECT_FALSE(std::filesystem::exists(transfer::ErrorLogPath()));
  // Over USB -14 is a failed control call.
  EXPECT_EQ(USB_DisplayMessageByReturnCode(&owner, "Sending", -14, 0), platform::kIdOk);
  EXPECT_EQ(boxes.Shown().back().text, "Command error.");
}

TEST_F(Cablink, ARefusedSendKeepsTheSixteenBitDetail) {
  machine.RefuseCommand(4, 64);
  std::vector<TransferListEntry> list = List({WriteFile("a.qnf", Design(5, 1))}, 1);
  int detail = 0;
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 64);
  // A detail of 256 and more keeps its high byte on a send, and only byte 2 elsewhere.
  machine.RefuseCommand(4, 0x1234);
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 0x1234);
  machine.RefuseCommand(6, 0x0161);
  std::vector<TransferListEntry> fetch = List({(root / "x.qnf").string()}, 1, {1});
  EXPECT_EQ(USB_Upload_Sequence(fetch.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 0x61);
  EXPECT_TRUE(machine.Designs(1).empty());
}

TEST_F(Cablink, TheLastBlockIsPaddedWithZerosToAWholeBlock) {
  // 16-byte record + 1,001 design bytes: two blocks, the second holding 505 bytes.
  std::vector<uint8_t> design = Bytes(1001, 7);
  int detail = 0;
  ASSERT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()), "a.qnf", 1,
                                        &detail, nullptr),
            0);
  int blocks = 0;
  for (const vtest::MachineLogEntry& entry : machine.Log()) blocks += entry.event == "usb block 512";
  EXPECT_EQ(blocks, 2);
  // The machine keeps what was announced, not the padding; it checks the padding is zero.
  EXPECT_EQ(machine.Designs(1).at(0).bytes, design);
}

vtest::MachineSimulator* unplugged = nullptr;
int UnplugAfterFirstBlock(int, int, int, int) {
  if (unplugged) unplugged->DetachUsb();
  return 1;
}

TEST_F(Cablink, AMachineUnpluggedInTheMiddleOfATransferEndsIt) {
  unplugged = &machine;
  const std::vector<uint8_t> design = Design(2000, 4);
  int detail = 0;
  EXPECT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()), "a.qnf", 1,
                                        &detail, UnplugAfterFirstBlock),
            kTransferSendFailed);
  EXPECT_TRUE(machine.Designs(1).empty());

  machine.AttachUsb();
  ASSERT_EQ(USB_Initialize(nullptr, abort), 0);
  machine.AddDesign(1, "A.QNF", Bytes(2000, 3));
  const std::string path = (root / "a.qnf").string();
  std::vector<TransferListEntry> list = List({path}, 1, {1});
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, UnplugAfterFirstBlock), kTransferBrokenPacket);
  EXPECT_FALSE(std::filesystem::exists(path));
  unplugged = nullptr;
}

TEST_F(Cablink, AStalledDeviceTimesOutInsteadOfHoldingTheTransfer) {
  setenv("VELINOR_USB_CALL_TIMEOUT_MS", "200", 1);
  machine.StallUsb(true);
  int detail = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, nullptr), kTransferTimeOut);
  const std::vector<uint8_t> design = Design(20, 4);
  EXPECT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()), "a.qnf", 1,
                                        &detail, nullptr),
            kTransferTimeOut);
  // Far below the two calls' default time-out of 5 s each, with all the room a loaded
  // machine needs.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  machine.StallUsb(false);
  unsetenv("VELINOR_USB_CALL_TIMEOUT_MS");
  int owner = 0;
  (void)USB_DisplayMessageByReturnCode(&owner, "Sending", kTransferTimeOut, 0);
  EXPECT_EQ(boxes.Shown().back().text, "Communication time out.");
}

TEST_F(Cablink, AMachinePluggedInWhileADialogIsOpenIsNoticed) {
  int window = 0;
  std::vector<uintptr_t> events;
  platform::RegisterUiReceiver(&window, [&](unsigned message, uintptr_t event, intptr_t) {
    if (message == kUsbDeviceChangeMessage) events.push_back(event);
  });
  machine.DetachUsb();
  EXPECT_EQ(USB_Initialize(&window, abort), kTransferPortFailed);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  platform::DeliverPostedMessages();
  EXPECT_TRUE(events.empty());

  machine.AttachUsb();
  const auto deadline = std::chrono::steady_clock::now() + kNoticeWait;
  while (events.empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::DeliverPostedMessages();
  }
  ASSERT_EQ(events, std::vector<uintptr_t>{kUsbEventNodesChanged});
  // Passed back, the event opens the machine.
  EXPECT_EQ(USB_EventProc(&window, events[0], 0), 0);
  int detail = 0;
  EXPECT_EQ(USB_DirUpload_Sequence((root / "dir.tmp").c_str(), 1, &detail, nullptr), 0);
  platform::UnregisterUiReceiver(&window);
}

TEST_F(Cablink, ADeviceThatMayNotBeOpenedIsToldApartFromAnAbsentOne) {
  platform::SetUsbDeviceOpener([](const std::string&, std::error_code& error) -> std::unique_ptr<platform::UsbDevice> {
    error = std::make_error_code(std::errc::permission_denied);
    return nullptr;
  });
  EXPECT_EQ(USB_Initialize(nullptr, abort), kTransferDeviceDenied);
  int owner = 0;
  (void)USB_DisplayMessageByReturnCode(&owner, "Sending", kTransferDeviceDenied, 0);
  EXPECT_EQ(boxes.Shown().back().text,
            "The machine is connected by USB, but you may not use its device.\n"
            "Ask for permission to use the machine's USB device.");
  machine.AttachUsb();  // the simulated machine's opener again
}

TEST_F(Cablink, MissingAndEmptyFilesAreNotSent) {
  std::vector<TransferListEntry> list = List({(root / "designs" / "none.qnf").string()}, 1);
  int detail = 0;
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferFileOpen);
  list = List({WriteFile("empty.qnf", {})}, 1);
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferFileOpen);
  EXPECT_TRUE(machine.UsbCalls().empty());
}

TEST_F(Cablink, ADesignFromMemoryIsSentUnderItsName) {
  const std::vector<uint8_t> design = Design(300, 4);
  int detail = 0;
  ASSERT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()),
                                        "Letter A.qnf", 5, &detail, Record),
            0);
  ASSERT_EQ(machine.Designs(5).size(), 1u);
  EXPECT_EQ(machine.Designs(5)[0].name, "Letter_A.qnf");
  EXPECT_EQ(machine.Designs(5)[0].bytes, design);
  EXPECT_EQ(progress.back().fileCount, 1);

  machine.FailDesign("Letter_A.qnf");
  EXPECT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()),
                                        "Letter A.qnf", 5, &detail, nullptr),
            kTransferMachineFail);
}

TEST_F(Cablink, AShortOrFailedWriteIsAFailedSend) {
  const std::vector<uint8_t> design = Design(300, 4);
  machine.ShortNextUsbWrite();
  int detail = 0;
  EXPECT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()),
                                        "a.qnf", 1, &detail, nullptr),
            kTransferSendFailed);
  machine.FailNextUsbControl();
  EXPECT_EQ(USB_DirectDownload_Sequence(design.data(), static_cast<unsigned>(design.size()),
                                        "a.qnf", 1, &detail, nullptr),
            -14);
}

TEST_F(Cablink, ReceivesTheSelectedDesignsIntoTheEntriesPaths) {
  const std::vector<uint8_t> one = Bytes(1300, 1);
  const std::vector<uint8_t> two = Bytes(512, 2);
  machine.AddDesign(2, "ONE.QNF", one);
  machine.AddDesign(2, "TWO.PTN", two);
  const std::string onePath = (root / "one.qnf").string();
  const std::string twoPath = (root / "TWO.PTN").string();
  std::vector<TransferListEntry> list = List({twoPath, onePath}, 2, {2, 1});
  int detail = 0;
  ASSERT_EQ(USB_Upload_Sequence(list.data(), 2, &detail, Record), 0);
  std::vector<uint8_t> got;
  ASSERT_FALSE(platform::ReadWholeFile(onePath, got, 1 << 20));
  EXPECT_EQ(got, one);
  ASSERT_FALSE(platform::ReadWholeFile(twoPath, got, 1 << 20));
  EXPECT_EQ(got, two);

  const auto calls = machine.UsbCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "80002018 02 00 02 00");
  EXPECT_EQ(calls[1], "80002008 02 00 02 00");
  EXPECT_EQ(calls[2], "80002018 02 00 01 00");
  // Progress per block: 512 bytes, then the first design's 1300 in three chunks.
  ASSERT_EQ(progress.size(), 4u);
  EXPECT_EQ(progress[0].bytesDone, 512);
  EXPECT_EQ(progress[0].bytesTotal, 512);
  EXPECT_EQ(progress[3].fileIndex, 1);
  EXPECT_EQ(progress[3].bytesDone, 1300);
  EXPECT_EQ(progress[3].bytesTotal, 1300);
}

TEST_F(Cablink, AReceiveTheMachineRefusesGivesItsReason) {
  std::vector<TransferListEntry> list = List({(root / "x.qnf").string()}, 1, {9});
  int detail = 0;
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 97);
  int owner = 0;
  (void)USB_DisplayMessageByReturnCode(&owner, "Receiving", kTransferRefused, detail);
  EXPECT_EQ(boxes.Shown().back().text, "Cannot be received.");
  EXPECT_FALSE(std::filesystem::exists(root / "x.qnf"));
}

TEST_F(Cablink, ABrokenReceiveLeavesNoFile) {
  machine.AddDesign(1, "A.QNF", Bytes(2000, 3));
  const std::string path = (root / "a.qnf").string();
  std::vector<TransferListEntry> list = List({path}, 1, {1});
  int detail = 0;
  machine.ShortNextUsbRead();
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, nullptr), kTransferBrokenPacket);
  EXPECT_FALSE(std::filesystem::exists(path));
  // A length beyond anything a transfer can carry is a broken answer, not an allocation.
  machine.LieAboutNextFetchLength(0xFFFFFFF0u);
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, nullptr), kTransferBrokenPacket);
  EXPECT_FALSE(std::filesystem::exists(path));
  // The callback's zero aborts.
  abortAfterCalls = 2;
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, Record), kTransferAborted);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Cablink, AMachineBusyOnEveryFetchTimesOutAfterTwentyTries) {
  machine.AddDesign(1, "A.QNF", Bytes(100, 3));
  machine.BusyFor(6, 1000);
  std::vector<TransferListEntry> list = List({(root / "a.qnf").string()}, 1, {1});
  int detail = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(USB_Upload_Sequence(list.data(), 1, &detail, nullptr), kTransferTimeOut);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(CallsStartingWith("80002008"), 20);
  // 500 ms after the select, and 500 ms after each busy answer.
  EXPECT_GE(took, std::chrono::milliseconds(500 + 19 * 500));
}

TEST_F(Cablink, TheDirectoryIsReceivedWithItsSixteenBitLength) {
  machine.AddDesign(1, "A.QNF", Bytes(10, 1));
  machine.AddDesign(1, "LONGER NAME.QNF", Bytes(10, 2));
  const std::string out = (root / "$$UPLDir.tmp").string();
  int detail = 0;
  ASSERT_EQ(USB_DirUpload_Sequence(out.c_str(), 1, &detail, Record), 0);
  std::vector<uint8_t> got;
  ASSERT_FALSE(platform::ReadWholeFile(out, got, 1 << 20));
  EXPECT_EQ(got, transfer::BuildMachineDirectory({"A.QNF", "LONGER NAME.QNF"}));
  const auto calls = machine.UsbCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "80002028 01 00 00 00");
  EXPECT_EQ(calls[1], "8000202C 01 00 00 00");
}

TEST_F(Cablink, DeletesOneDesignAndAsksAgainWhenTheCallerRetries) {
  machine.AddDesign(1, "A", Bytes(10, 1));
  machine.AddDesign(1, "B", Bytes(10, 2));
  int detail = 0;
  ASSERT_EQ(USB_Erase_Sequence(1, 2, &detail, nullptr), 0);
  ASSERT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(machine.Designs(1)[0].name, "A");
  EXPECT_EQ(machine.UsbCalls()[0], "80002020 01 00 02 00");
  EXPECT_EQ(machine.UsbCalls()[1], "80002024 02 00 00 00");

  // Refused: the callback's 1 sends the delete again, its 0 gives the refusal.
  machine.RefuseCommand(7, 128);
  retriesLeft = 2;
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, RetryOnce), kTransferRefused);
  EXPECT_EQ(detail, 128);
  EXPECT_EQ(CallsStartingWith("80002020"), 1 + 3);
  machine.ClearRefusals();
  EXPECT_EQ(USB_Erase_Sequence(1, 5, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 128);
}

TEST_F(Cablink, ADeleteTheMachineAnswersWithAnythingButDoneEndsInsteadOfPollingForEver) {
  machine.AddDesign(1, "A", Bytes(10, 1));
  machine.SetNextFinalStatus(3);
  int detail = 0;
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, nullptr), kTransferInvalidReply);
  EXPECT_EQ(CallsStartingWith("80002024 02"), 1);
}

TEST_F(Cablink, ANodeChangeReopensWithoutTakingTheCancelAway) {
  ASSERT_EQ(USB_EventProc(nullptr, kUsbEventNodesChanged, 0), 0);
  AbortEventSet(abort);
  int detail = 0;
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, nullptr), kTransferAborted);
  EXPECT_TRUE(machine.UsbCalls().empty());
}

TEST_F(Cablink, AnAbortStopsTheSequenceAtItsNextStep) {
  const std::string a = WriteFile("a.qnf", Design(5, 1));
  std::vector<TransferListEntry> list = List({a}, 1);
  int detail = 0;
  AbortEventSet(abort);
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferAborted);
  EXPECT_TRUE(machine.UsbCalls().empty());
  AbortEventReset(abort);

  // A machine that stays busy keeps the send polling until the user cancels.
  machine.BusyFor(8, 1000000);
  std::thread cancel([this] {
    machine.WaitForUsbCalls("80002024", 2, kNoticeWait);
    AbortEventSet(abort);
  });
  EXPECT_EQ(USB_Download_Sequence(list.data(), 1, &detail, nullptr), kTransferAborted);
  cancel.join();
  EXPECT_GE(CallsStartingWith("80002024"), 2);
  int owner = 0;
  (void)USB_DisplayMessageByReturnCode(&owner, "Sending", kTransferAborted, 0);
  EXPECT_EQ(boxes.Shown().back().text, "Communication is aborted.");
}

TEST_F(Cablink, AnOpeningPictureAndAProgramUpdateGoInTheirSegments) {
  const std::vector<uint8_t> picture = Bytes(700, 5);
  int detail = 0;
  ASSERT_EQ(USB_Opening_Sequence(WriteFile("open.bmp", picture).c_str(), &detail, nullptr), 0);
  EXPECT_EQ(machine.UsbCalls()[0], "8000201C 00 00 BC 02");

  const std::vector<uint8_t> program = Bytes(70000, 6);
  ASSERT_EQ(USB_Versionup_Sequence(WriteFile("prog.bin", program).c_str(), &detail, 1, Record), 0);
  EXPECT_EQ(CallsStartingWith("80002034 81 02 00 00"), 1);  // a whole segment reads 0
  EXPECT_EQ(CallsStartingWith("80002034 82 02 70 11"), 1);  // 4,464 bytes
  ASSERT_EQ(USB_Versionup_Sequence_Trigger(&detail, nullptr), 0);
  EXPECT_EQ(machine.UsbCalls().back().substr(0, 20), "80002024 01 00 00 00");
  EXPECT_EQ(CallsStartingWith("80002034 01 01 00 02"), 1);

  const auto files = machine.OtherFiles();
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], picture);
  EXPECT_EQ(files[1], std::vector<uint8_t>(program.begin(), program.begin() + 65536));
  EXPECT_EQ(files[2], std::vector<uint8_t>(program.begin() + 65536, program.end()));
  // The segment count travels in one byte: a 256th segment cannot be announced.
  EXPECT_EQ(USB_Versionup_Sequence(WriteFile("long.bin", Bytes(255 * 65536 + 1, 7)).c_str(), &detail, 1,
                                   nullptr),
            kTransferFileRead);
  EXPECT_EQ(machine.OtherFiles().size(), 4u);
  // The progress index is the segment number, from 1.
  EXPECT_EQ(progress.front().fileIndex, 1);
  EXPECT_EQ(progress.back().fileIndex, 2);
  EXPECT_EQ(progress.back().fileCount, 2);
}

TEST_F(Cablink, OnlyTheMachinesOwnRemovalClosesItAndANodeChangeReopens) {
  UsbDeviceNotice other{kUsbNoticeDeviceInterface, "/dev/some-other-device"};
  EXPECT_EQ(USB_EventProc(nullptr, kUsbEventRemovalComplete, reinterpret_cast<intptr_t>(&other)),
            -1);
  int detail = 0;
  const std::string out = (root / "dir.tmp").string();
  EXPECT_EQ(USB_DirUpload_Sequence(out.c_str(), 1, &detail, nullptr), 0);

  UsbDeviceNotice ours{kUsbNoticeDeviceInterface, {}};
  std::strncpy(ours.name, machine.UsbPath().c_str(), sizeof ours.name - 1);
  UsbDeviceNotice notAnInterface = ours;
  notAnInterface.kind = 0;
  EXPECT_EQ(
      USB_EventProc(nullptr, kUsbEventRemovalComplete, reinterpret_cast<intptr_t>(&notAnInterface)),
      -1);
  EXPECT_EQ(USB_DirUpload_Sequence(out.c_str(), 1, &detail, nullptr), 0);

  machine.DetachUsb();
  EXPECT_EQ(USB_EventProc(nullptr, kUsbEventRemovalComplete, reinterpret_cast<intptr_t>(&ours)),
            -1);
  EXPECT_EQ(USB_DirUpload_Sequence(out.c_str(), 1, &detail, nullptr), -14);
  EXPECT_EQ(USB_EventProc(nullptr, kUsbEventNodesChanged, 0), kTransferPortFailed);
  EXPECT_EQ(USB_EventProc(nullptr, 0x8000, 0), 1);

  machine.AttachUsb();
  EXPECT_EQ(USB_EventProc(nullptr, kUsbEventNodesChanged, 0), 0);
  EXPECT_EQ(USB_DirUpload_Sequence(out.c_str(), 1, &detail, nullptr), 0);
}

TEST_F(Cablink, UnpluggingTheMachineTellsTheWindowWhichDeviceWent) {
  int window = 0;
  std::vector<std::pair<uintptr_t, UsbDeviceNotice>> events;
  platform::RegisterUiReceiver(&window, [&](unsigned message, uintptr_t event, intptr_t data) {
    if (message == kUsbDeviceChangeMessage) {
      events.emplace_back(event, *reinterpret_cast<const UsbDeviceNotice*>(data));
    }
  });
  ASSERT_EQ(USB_Initialize(&window, abort), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  platform::DeliverPostedMessages();
  EXPECT_TRUE(events.empty()) << "a machine still plugged in was reported gone";

  machine.DetachUsb();
  const auto deadline = std::chrono::steady_clock::now() + kNoticeWait;
  while (events.empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::DeliverPostedMessages();
  }
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].first, static_cast<uintptr_t>(kUsbEventRemovalComplete));
  EXPECT_EQ(events[0].second.kind, kUsbNoticeDeviceInterface);
  EXPECT_EQ(std::string(events[0].second.name), machine.UsbPath());
  // Passed back, the notice closes the machine.
  EXPECT_EQ(USB_EventProc(&window, events[0].first, reinterpret_cast<intptr_t>(&events[0].second)),
            -1);
  int detail = 0;
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, nullptr), -14);
  platform::UnregisterUiReceiver(&window);
}

TEST(CablinkDevice, NoMachineMeansNoPortAndANodeThatIsNotTheMachineRefusesItsCalls) {
  vtest::TempDir root;
  platform::SetUsbDeviceOpener(nullptr);
  setenv(platform::kUsbDeviceEnvironment, (root / "no-machine").c_str(), 1);
  EXPECT_EQ(USB_Initialize(nullptr, nullptr), kTransferPortFailed);
  int detail = 0;
  EXPECT_EQ(USB_Erase_Sequence(1, 1, &detail, nullptr), -14);

  // A node that opens but is no machine: its control calls fail.
  ASSERT_FALSE(platform::WriteWholeFile(root / "not-a-machine", std::vector<uint8_t>(16, 0)));
  setenv(platform::kUsbDeviceEnvironment, (root / "not-a-machine").c_str(), 1);
  ASSERT_EQ(USB_Initialize(nullptr, nullptr), 0);
  EXPECT_EQ(USB_DirUpload_Sequence((root / "d").c_str(), 1, &detail, nullptr), -14);
  EXPECT_EQ(USB_Terminate(), 0);
  // A path longer than a removal notice can name is never opened.
  const std::filesystem::path deep = root / std::string(250, 'd');
  std::filesystem::create_directories(deep);
  ASSERT_FALSE(platform::WriteWholeFile(deep / "machine", std::vector<uint8_t>(16, 0)));
  setenv(platform::kUsbDeviceEnvironment, (deep / "machine").c_str(), 1);
  EXPECT_EQ(USB_Initialize(nullptr, nullptr), kTransferPortFailed);
  unsetenv(platform::kUsbDeviceEnvironment);
  EXPECT_EQ(platform::UsbDevicePath(), platform::kDefaultUsbDevicePath);
}

}  // namespace
