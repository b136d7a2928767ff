// Portline's exported functions end to end, against the simulated machine on a real
// pseudo-terminal pair.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link/machine_directory.h"
#include "link/return_messages.h"
#include "link/serial/portline.h"
#include "link/transfer_list.h"
#include "link/serial/frames.h"
#include "platform/file_io.h"
#include "platform/serial_port.h"
#include "platform/work_folder.h"
#include "testing/machine/machine_simulator.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A QNF design with pairCount stitch pairs and bytes after its end pair that stay home.
std::vector<uint8_t> Design(int pairCount, uint8_t seed, bool trailer = false) {
  vtest::QnfFileSpec spec;
  for (int i = 0; i < pairCount; ++i) {
    spec.stitches.push_back(static_cast<uint8_t>((i * 3 + seed) % 100));
    spec.stitches.push_back(static_cast<uint8_t>((i * 5 + seed) % 100));
  }
  spec.stitches.push_back(0x80);
  spec.stitches.push_back(0x10);
  if (trailer) spec.trailer = {0xDE, 0xAD, 0xBE, 0xEF, 0x80, 0x10};
  return vtest::BuildQnfFile(spec);
}

std::vector<uint8_t> WithoutTrailer(std::vector<uint8_t> image) {
  image.resize(image.size() - 6);
  return image;
}

struct ProgressCall {
  int fileIndex, fileCount, bytesDone, bytesTotal;
};
std::vector<ProgressCall> progressCalls;
VelinorAbortEvent* abortOnProgress = nullptr;
vtest::MachineSimulator* machineForCallback = nullptr;
int refusedCalls = 0;

int RecordProgress(int fileIndex, int fileCount, int bytesDone, int bytesTotal) {
  progressCalls.push_back({fileIndex, fileCount, bytesDone, bytesTotal});
  if (abortOnProgress) AbortEventSet(abortOnProgress);
  return 1;
}

int StopAtFirstBlock(int, int, int, int) { return 0; }

int RetryAfterClearing(const unsigned char* reply) {
  ++refusedCalls;
  EXPECT_EQ(reply[1], 7 + 0x40);
  machineForCallback->ClearRefusals();
  return 1;
}

int Padded(int bytes) { return ((bytes - 1) / 512 + 1) * 512; }

long long Ms(Clock::duration d) { return std::chrono::duration_cast<milliseconds>(d).count(); }

// How long a test waits for the machine to get somewhere: generous, since a loaded machine
// only ever makes the wait longer, never the outcome different.
constexpr milliseconds kMachineWait{30000};

class MachineLink : public ::testing::Test {
 protected:
  void SetUp() override {
    progressCalls.clear();
    abortOnProgress = nullptr;
    refusedCalls = 0;
    machineForCallback = &machine;
    setenv("VELINOR_COM1", machine.DevicePath().c_str(), 1);
    setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
    machine.Start();
    ASSERT_EQ(SIO_InitializeIO("COM1", 9600, abort), 0);
  }

  void TearDown() override {
    SIO_TerminateIO();
    machine.Stop();
    AbortEventDestroy(abort);
    unsetenv("VELINOR_COM1");
    unsetenv("XDG_DATA_HOME");
    for (const std::string& error : machine.Errors()) ADD_FAILURE() << "machine saw: " << error;
  }

  std::string WriteDesign(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (work / name).string();
    EXPECT_FALSE(platform::WriteWholeFile(path, bytes));
    return path;
  }

  std::vector<TransferListEntry> SendList(const std::vector<std::string>& paths, int destination) {
    std::vector<TransferListEntry> list;
    EXPECT_TRUE(transfer::BuildSendList(paths, destination, list));
    return list;
  }

  // The gap from the first event to the first event after it.
  long long GapMs(const std::string& from, const std::string& to) {
    const auto starts = machine.TimesOf(from);
    const auto ends = machine.TimesOf(to);
    EXPECT_FALSE(starts.empty()) << from;
    for (const auto& end : ends) {
      if (!starts.empty() && end > starts.front()) return Ms(end - starts.front());
    }
    ADD_FAILURE() << "no " << to << " after " << from;
    return -1;
  }

  // Waits until the machine has read count messages of this kind: a sequence may return
  // before the machine has read what it wrote last.
  std::size_t WaitForMachine(const std::string& event, std::size_t count) {
    return machine.WaitForEvents(event, count, kMachineWait);
  }

  std::vector<std::string> Events() {
    std::vector<std::string> events;
    for (const auto& entry : machine.Log()) events.push_back(entry.event);
    return events;
  }

  vtest::TempDir work;
  vtest::MachineSimulator machine;
  VelinorAbortEvent* abort = AbortEventCreate();
  int detail = -1;
};

TEST_F(MachineLink, SendsDesignsByteIdenticalAtTheChosenRateAndPace) {
  const std::vector<uint8_t> a = Design(10, 1);
  const std::vector<uint8_t> b = Design(700, 2, true);  // three blocks with its record
  const std::vector<uint8_t> c = Design(198, 3);
  std::vector<TransferListEntry> list = SendList(
      {WriteDesign("A.qnf", a), WriteDesign("B rose.qnf", b), WriteDesign("C.QNF", c)}, 2);
  machine.BusyFor(8, 2);  // the first design is still being stored for two polls

  ASSERT_EQ(Protocol_Seq_Download(38400, list.data(), 3, &detail, RecordProgress), 0);

  const auto stored = machine.Designs(2);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].name, "A.qnf");
  EXPECT_EQ(stored[0].bytes, a);
  EXPECT_EQ(stored[1].name, "B_rose.qnf");
  EXPECT_EQ(stored[1].bytes, WithoutTrailer(b));
  EXPECT_EQ(stored[2].name, "C.QNF");
  EXPECT_EQ(stored[2].bytes, c);

  // Progress: after every block, with the file-name record and the design padded to
  // whole blocks as the total.
  const int imageB = Padded(20 + static_cast<int>(WithoutTrailer(b).size()));
  std::vector<ProgressCall> ofB;
  for (const ProgressCall& call : progressCalls) {
    if (call.fileIndex == 1) ofB.push_back(call);
  }
  ASSERT_EQ(static_cast<int>(ofB.size()), imageB / 512);
  for (std::size_t i = 0; i < ofB.size(); ++i) {
    EXPECT_EQ(ofB[i].fileCount, 3);
    EXPECT_EQ(ofB[i].bytesDone, static_cast<int>(i + 1) * 512);
    EXPECT_EQ(ofB[i].bytesTotal, imageB);
  }
  EXPECT_EQ(progressCalls.back().fileIndex, 2);
  EXPECT_EQ(progressCalls.back().bytesTotal, Padded(16 + static_cast<int>(c.size())));

  // The machine's pace: the line settles after the rate switch, the machine gets time
  // before the first block, and status polls come every 500 ms.
  EXPECT_GE(GapMs("cmd 12", "ENQ"), 490);
  EXPECT_GE(GapMs("cmd 4", "block 0x02"), 100);
  const auto polls = machine.TimesOf("cmd 8");
  ASSERT_GE(polls.size(), 5u);
  EXPECT_GE(Ms(polls[1] - polls[0]), 490);
  EXPECT_GE(Ms(polls[2] - polls[1]), 490);
  EXPECT_EQ(Events().back(), "EOT");
}

TEST_F(MachineLink, StopsAtAnEmptyPathWhateverTheCount) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("ONLY.qnf", Design(5, 9))}, 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(Protocol_Seq_Download(9600, list.data(), 4, &detail, nullptr), 0);
  EXPECT_EQ(machine.Designs(1).size(), 1u);
  EXPECT_EQ(machine.TimesOf("cmd 4").size(), 1u);
}

TEST_F(MachineLink, FileFailuresEndTheSessionWithTheirCodes) {
  // A listed design that is not there.
  std::vector<TransferListEntry> list = SendList({(work / "gone.qnf").string()}, 1);
  EXPECT_EQ(Protocol_Seq_Download(9600, list.data(), 1, &detail, nullptr), kTransferFileOpen);
  EXPECT_EQ(Events().back(), "EOT");
  // A direct design without a name has nothing to announce.
  const std::vector<uint8_t> image = Design(5, 1);
  EXPECT_EQ(Protocol_Seq_Download_Direct(9600, image.data(), static_cast<unsigned>(image.size()),
                                         "", 1, &detail, nullptr),
            kTransferNoMemory);
  // A received design whose folder is not there cannot be written.
  machine.AddDesign(1, "R.qnf", image);
  std::vector<TransferListEntry> receive = transfer::MakeEntryList(1);
  ASSERT_TRUE(transfer::SetEntryPath(receive[0], (work / "no-folder" / "R.qnf").string()));
  receive[0].destination = 1;
  receive[0].designNo = 1;
  EXPECT_EQ(Protocol_Seq_Upload(9600, receive.data(), 1, &detail, nullptr), kTransferFileOpen);
  EXPECT_EQ(Events().back(), "EOT");
  EXPECT_TRUE(machine.Designs(1).size() == 1);
}

TEST_F(MachineLink, ListsReceivesAndDeletesDesignsOnTheMachine) {
  const std::vector<uint8_t> one = Design(40, 4);
  const std::vector<uint8_t> two = Design(900, 5);
  const std::vector<uint8_t> three = Design(3, 6);
  machine.AddDesign(1, "ONE.qnf", one);
  machine.AddDesign(1, "TWO.PTN", two);
  machine.AddDesign(1, "THREE", three);
  const std::string directoryFile = (work / "$$UPLDir.tmp").string();

  ASSERT_EQ(Protocol_Seq_DirUpload(19200, directoryFile.c_str(), 1, &detail, nullptr), 0);
  std::vector<transfer::ListedDesign> listed;
  ASSERT_FALSE(transfer::ReadMachineDirectoryFile(directoryFile, listed));
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[1].name, "TWO.PTN");
  EXPECT_EQ(listed[1].designNo, 2);

  // Receive the second design; the machine is busy twice before it is ready.
  std::vector<TransferListEntry> receive;
  ASSERT_TRUE(transfer::BuildReceiveList(work.Path(), {listed[1], listed[2]}, 1, receive));
  machine.BusyFor(6, 2);
  ASSERT_EQ(Protocol_Seq_Upload(57600, receive.data(), 2, &detail, RecordProgress), 0);
  std::vector<uint8_t> received;
  ASSERT_FALSE(platform::ReadWholeFile(work / "TWO.PTN", received));
  EXPECT_EQ(received, two);
  ASSERT_FALSE(platform::ReadWholeFile(work / "THREE.qnf", received));
  EXPECT_EQ(received, three);
  EXPECT_GE(GapMs("cmd 5", "cmd 6"), 990);
  const auto fetches = machine.TimesOf("cmd 6");
  ASSERT_GE(fetches.size(), 3u);
  EXPECT_GE(Ms(fetches[1] - fetches[0]), 490);
  EXPECT_EQ(progressCalls.front().bytesTotal, static_cast<int>(two.size()));
  EXPECT_EQ(progressCalls.back().bytesDone, static_cast<int>(three.size()));
  EXPECT_EQ(progressCalls.back().fileIndex, 1);

  // Delete the first: the others move up.
  ASSERT_EQ(Protocol_Seq_Delete(1, 1, &detail, nullptr), 0);
  const auto left = machine.Designs(1);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].name, "TWO.PTN");
  ASSERT_EQ(Protocol_Seq_DirUpload(9600, directoryFile.c_str(), 1, &detail, nullptr), 0);
  ASSERT_FALSE(transfer::ReadMachineDirectoryFile(directoryFile, listed));
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].name, "TWO.PTN");
  EXPECT_EQ(listed[0].designNo, 1);
}

TEST_F(MachineLink, RefusalEndsTheSessionWithTheMachinesReason) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("A.qnf", Design(5, 1))}, 1);
  machine.RefuseCommand(4, 64);
  EXPECT_EQ(Protocol_Seq_Download(38400, list.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 64);
  EXPECT_TRUE(machine.Designs(1).empty());
  EXPECT_EQ(Events().back(), "EOT");
  EXPECT_TRUE(machine.TimesOf("block 0x02").empty());
}

TEST_F(MachineLink, FullMachineRefusesToRegister) {
  machine.SetCapacity(1);
  machine.AddDesign(1, "OLD.qnf", Design(2, 2));
  std::vector<TransferListEntry> list = SendList({WriteDesign("A.qnf", Design(5, 1))}, 1);
  EXPECT_EQ(Protocol_Seq_Download(9600, list.data(), 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 64);
}

TEST_F(MachineLink, FailedDesignIsListedAndTheOthersStillGo) {
  vtest::RecordingMessageBox box;
  const std::string bad = WriteDesign("BAD.qnf", Design(5, 2));
  std::vector<TransferListEntry> list =
      SendList({WriteDesign("GOOD.qnf", Design(5, 1)), bad, WriteDesign("LAST.qnf", Design(5, 3))}, 1);
  machine.FailDesign("BAD.qnf");
  EXPECT_EQ(Protocol_Seq_Download(9600, list.data(), 3, &detail, nullptr), kTransferDesignsFailed);
  ASSERT_EQ(machine.Designs(1).size(), 2u);
  EXPECT_EQ(machine.Designs(1)[1].name, "LAST.qnf");

  void* owner = reinterpret_cast<void*>(0x10);
  EXPECT_EQ(DisplayMessageByReturnCode(owner, "Sending", kTransferDesignsFailed, 0), 1);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Failed to send a design.\n" + bad + "\n");
  EXPECT_EQ(box.Shown()[0].caption, "Sending");
  EXPECT_FALSE(std::filesystem::exists(platform::ProgramWorkFile("$_ErrLog.tmp")));
}

TEST_F(MachineLink, DirectSendAnnouncesTheGivenNameAndSendsTheImageUnchanged) {
  const std::vector<uint8_t> image = Design(300, 7, true);
  EXPECT_EQ(Protocol_Seq_Download_Direct(38400, image.data(), static_cast<unsigned>(image.size()),
                                         "my rose.qnf", 6, &detail, RecordProgress),
            0);
  const auto stored = machine.Designs(6);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].name, "my_rose.qnf");
  EXPECT_EQ(stored[0].bytes, image);
  EXPECT_EQ(progressCalls.back().fileIndex, 0);
  EXPECT_EQ(progressCalls.back().fileCount, 1);
}

TEST_F(MachineLink, FailedSendNamesNoDesignOfAnEarlierSend) {
  vtest::RecordingMessageBox box;
  void* owner = reinterpret_cast<void*>(0x10);
  const std::vector<uint8_t> image = Design(5, 7);
  machine.FailDesign("NEW.qnf");
  // A direct send keeps no list of its own, so an earlier send's list must not stand in.
  ASSERT_TRUE(transfer::AppendErrorLog(transfer::ErrorLogPath(), "/old/STALE.qnf"));
  EXPECT_EQ(Protocol_Seq_Download_Direct(9600, image.data(), static_cast<unsigned>(image.size()),
                                         "NEW.qnf", 1, &detail, nullptr),
            kTransferDesignsFailed);
  EXPECT_EQ(DisplayMessageByReturnCode(owner, "Sending", kTransferDesignsFailed, 0), 1);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Failed to send a design.");
  // The plain file sends start afresh too.
  ASSERT_TRUE(transfer::AppendErrorLog(transfer::ErrorLogPath(), "/old/STALE.qnf"));
  const std::string picture = WriteDesign("open.bmp", image);
  EXPECT_EQ(Protocol_Seq_DownloadOpeningBMP(9600, picture.c_str(), &detail, nullptr), 0);
  EXPECT_FALSE(std::filesystem::exists(transfer::ErrorLogPath()));
}

TEST_F(MachineLink, SilentMachineTimesOutAfterTenTries) {
  machine.SetSilent(true);
  std::vector<TransferListEntry> list = SendList({WriteDesign("A.qnf", Design(5, 1))}, 1);
  const auto start = Clock::now();
  EXPECT_EQ(Protocol_Seq_Download(38400, list.data(), 1, &detail, nullptr), kTransferTimeOut);
  const long long took = Ms(Clock::now() - start);
  EXPECT_GE(took, 9500);
  EXPECT_LE(took, 9500 + kMachineWait.count());
  // Every one of the ten silences sent the ENQ again.
  EXPECT_EQ(WaitForMachine("ENQ", 11), 11u);
}

TEST_F(MachineLink, AbortHandleSetMidTransferStopsIt) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("BIG.qnf", Design(3000, 1))}, 1);
  abortOnProgress = abort;
  EXPECT_EQ(Protocol_Seq_Download(38400, list.data(), 1, &detail, RecordProgress), kTransferAborted);
  EXPECT_EQ(progressCalls.size(), 1u);
  EXPECT_TRUE(machine.Designs(1).empty());
}

TEST_F(MachineLink, MachineThatStaysBusyIsPolledUntilTheUserAborts) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("A.qnf", Design(5, 1))}, 1);
  machine.BusyFor(8, 1000);
  // The user gives up once the machine has been asked twice.
  std::thread user([this] {
    machine.WaitForEvents("cmd 8", 2, kMachineWait);
    AbortEventSet(abort);
  });
  EXPECT_EQ(Protocol_Seq_Download(9600, list.data(), 1, &detail, nullptr), kTransferAborted);
  user.join();
  const auto polls = machine.TimesOf("cmd 8");
  ASSERT_GE(polls.size(), 2u);
  for (std::size_t i = 1; i < polls.size(); ++i) EXPECT_GE(Ms(polls[i] - polls[i - 1]), 490);
}

TEST_F(MachineLink, ProgressCallbackReturningZeroStopsIt) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("BIG.qnf", Design(3000, 1))}, 1);
  EXPECT_EQ(Protocol_Seq_Download(38400, list.data(), 1, &detail, StopAtFirstBlock), kTransferAborted);
  EXPECT_EQ(machine.TimesOf("block 0x02").size(), 1u);
  EXPECT_TRUE(machine.TimesOf("block 0x82").empty());
  // The session still ends with EOT, and the line is back at 9600 for the next one.
  EXPECT_EQ(Events().back(), "EOT");
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 128);
}

TEST_F(MachineLink, UnknownRateFailsAfterTheFirstEnqAndStillEndsTheSession) {
  std::vector<TransferListEntry> list = SendList({WriteDesign("A.qnf", Design(5, 1))}, 1);
  EXPECT_EQ(Protocol_Seq_Download(14400, list.data(), 1, &detail, nullptr), kTransferLogicError);
  EXPECT_EQ(Events(), (std::vector<std::string>{"ENQ", "EOT"}));
}

TEST_F(MachineLink, RefusedDeleteGoesOutAgainWhenTheCallerSaysRetry) {
  machine.AddDesign(1, "X.qnf", Design(2, 1));
  machine.RefuseCommand(7, 96);
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, &detail, RetryAfterClearing), 0);
  EXPECT_EQ(refusedCalls, 1);
  EXPECT_EQ(machine.TimesOf("cmd 7").size(), 2u);
  EXPECT_TRUE(machine.Designs(1).empty());
  // Without a callback the refusal is the answer.
  machine.AddDesign(1, "Y.qnf", Design(2, 1));
  machine.RefuseCommand(7, 128);
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, nullptr, nullptr), kTransferRefused);
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, &detail, nullptr), kTransferRefused);
  EXPECT_EQ(detail, 128);
}

TEST_F(MachineLink, BlockOfTheWrongTypeIsRefusedAndSentAgain) {
  machine.AddDesign(4, "CARD.qnf", Design(400, 8));
  machine.AddDesign(4, "SECOND.qnf", Design(1, 8));
  machine.WrongTypeOnNextBlock();
  const std::string out = (work / "dir.tmp").string();
  ASSERT_EQ(Protocol_Seq_DirUpload(9600, out.c_str(), 4, &detail, nullptr), 0);
  EXPECT_EQ(machine.TimesOf("NAK").size(), 1u);
  std::vector<transfer::ListedDesign> listed;
  ASSERT_FALSE(transfer::ReadMachineDirectoryFile(out, listed));
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[1].name, "SECOND.qnf");
}

TEST_F(MachineLink, FetchStillBusyAfterTenRetriesIsATimeOut) {
  machine.BusyFor(11, 100);
  const std::string out = (work / "dir.tmp").string();
  EXPECT_EQ(Protocol_Seq_DirUpload(9600, out.c_str(), 1, &detail, nullptr), kTransferTimeOut);
  EXPECT_EQ(machine.TimesOf("cmd 11").size(), 11u);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(MachineLink, FilesProgramUpdateAndDiagnosticSequences) {
  std::vector<uint8_t> program(70000);
  for (std::size_t i = 0; i < program.size(); ++i) program[i] = static_cast<uint8_t>(i / 3);
  const std::string programFile = WriteDesign("update.bin", program);
  const std::string picture = WriteDesign("open.bmp", std::vector<uint8_t>(600, 0x42));
  EXPECT_EQ(Protocol_Seq_Versionup(38400, programFile.c_str(), &detail, 1, RecordProgress), 0);
  EXPECT_EQ(Protocol_Seq_DownloadOpeningBMP(38400, picture.c_str(), &detail, nullptr), 0);
  EXPECT_EQ(Protocol_Seq_Versionup_Trigger(9600, &detail), 0);
  EXPECT_EQ(Protocol_Seq_Diagnostic(5, &detail, nullptr), 0);
  const auto files = machine.OtherFiles();
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], std::vector<uint8_t>(program.begin(), program.begin() + 65536));
  EXPECT_EQ(files[1], std::vector<uint8_t>(program.begin() + 65536, program.end()));
  EXPECT_EQ(files[2], std::vector<uint8_t>(600, 0x42));
  EXPECT_EQ(files[3], std::vector<uint8_t>(512, 0));
  EXPECT_EQ(progressCalls.back().fileIndex, 1);
  EXPECT_EQ(progressCalls.back().fileCount, 2);
  const std::string missing = (work / "none.bin").string();
  EXPECT_EQ(Protocol_Seq_DownloadDiagnostic(9600, missing.c_str(), &detail, nullptr), kTransferFileOpen);
  // The segment count travels in one byte: a 256th segment cannot be announced.
  const std::string tooLong = WriteDesign("long.bin", std::vector<uint8_t>(255 * 65536 + 1, 7));
  EXPECT_EQ(Protocol_Seq_Versionup(38400, tooLong.c_str(), &detail, 1, nullptr), kTransferFileRead);
  EXPECT_EQ(machine.OtherFiles().size(), 4u);
}

// Each broken reply costs the link at most one silent second; the transfer still succeeds.
enum class Fault { kCorruptCrc, kSplit, kGarbage, kDropped };

class BrokenReply : public MachineLink, public ::testing::WithParamInterface<Fault> {};

TEST_P(BrokenReply, IsRecovered) {
  machine.AddDesign(1, "X.qnf", Design(2, 1));
  switch (GetParam()) {
    case Fault::kCorruptCrc: machine.CorruptNextReplyCrc(); break;
    case Fault::kSplit: machine.SplitNextReply(4); break;
    case Fault::kGarbage: machine.GarbageBeforeNextReply(); break;
    case Fault::kDropped: machine.DropNextReply(); break;
  }
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, &detail, nullptr), 0);
  EXPECT_TRUE(machine.Designs(1).empty());
  const std::size_t deletes = machine.TimesOf("cmd 7").size();
  const bool resent = GetParam() == Fault::kCorruptCrc || GetParam() == Fault::kDropped;
  EXPECT_EQ(deletes, resent ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, BrokenReply,
                         ::testing::Values(Fault::kCorruptCrc, Fault::kSplit, Fault::kGarbage,
                                           Fault::kDropped));

TEST(PortlineWithoutMachine, PortThatCannotBeOpenedIsReported) {
  setenv("VELINOR_COM2", "/dev/velinor-no-such-port", 1);
  EXPECT_EQ(SIO_InitializeIO("COM2", 9600, nullptr), kTransferPortFailed);
  EXPECT_EQ(SIO_InitializeIO("COM9", 9600, nullptr), kTransferPortFailed);
  unsetenv("VELINOR_COM2");
  // Without an open port nothing can be sent.
  EXPECT_EQ(Protocol_Seq_Delete(1, 1, nullptr, nullptr), kTransferSendFailed);
  EXPECT_EQ(SIO_TerminateIO(), 0);
}

}  // namespace

namespace {

// The simulator's own check of the computer's rate switch: a computer that asks for 38400
// and stays at 9600 is caught at its next ENQ.
TEST(MachineSimulator, NoticesAComputerThatDidNotSwitchItsRate) {
  vtest::MachineSimulator machine;
  machine.Start();
  platform::SerialPort port;
  ASSERT_FALSE(port.Open(machine.DevicePath()));
  ASSERT_FALSE(port.Configure(9600));
  const uint8_t enq = portline::kEnq;
  const portline::CommandFrame switchRate = portline::BuildCommandFrame(portline::kCmdSwitchBaudRate, 4);
  ASSERT_FALSE(port.Write({&enq, 1}, 1000));
  ASSERT_FALSE(port.Write(switchRate, 1000));
  ASSERT_FALSE(port.Write({&enq, 1}, 1000));
  // Three answers: ACK, ACK, ACK.
  uint8_t answers[3] = {};
  std::size_t got = 0;
  for (int tries = 0; got < 3 && tries < 100; ++tries) {
    port.WaitReadable(20);
    const long n = port.ReadAvailable(answers + got, sizeof answers - got);
    ASSERT_GE(n, 0);
    got += static_cast<std::size_t>(n);
  }
  ASSERT_EQ(got, 3u);
  EXPECT_EQ(answers[2], portline::kAck);
  machine.Stop();
  ASSERT_EQ(machine.Errors().size(), 1u);
  EXPECT_EQ(machine.Errors()[0], "line at 9600 instead of 38400 at ENQ");
}

}  // namespace
