// The exported transfer sequences: each one is one session with the machine.

#include <new>
#include <string>
#include <vector>

#include "link/file_name_record.h"
#include "link/return_messages.h"
#include "link/serial/design_file.h"
#include "link/serial/portline.h"
#include "link/serial/session.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"

using namespace portline;

namespace {

// Blocks of a program update travel in segments of this size.
constexpr std::size_t kProgramSegmentBytes = 65536;
// The set bit that asks the machine to install the segments it receives.
constexpr uint8_t kUpdateFlagBit = 0x80;

// Every send starts with an empty list of failed designs, so that the list shown for its
// -14 names only designs of this send.
void ForgetFailedDesigns() { (void)platform::RemoveFile(transfer::ErrorLogPath()); }

// An allocation that fails is the transfer's failure, not the process's.
template <typename Body>
int Guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kTransferNoMemory;
  }
}

// Sends one announced design: the command, its blocks, then the machine's verdict.
int SendOneDesign(Session& session, uint8_t destination, std::string_view announcedName,
                  std::span<const uint8_t> design, int fileIndex, int fileCount,
                  ProgressCallback cb, uint8_t& status) {
  const std::vector<uint8_t> record = transfer::BuildFileNameRecord(announcedName);
  if (record.empty()) return kTransferNoMemory;
  const std::size_t announced = record.size() + design.size();
  if (announced > kMaxTransferBytes) return kTransferFileRead;
  const std::vector<uint8_t> image = PaddedImage(record, design);
  return session.SendAnnounced(
      BuildLengthCommandFrame(kCmdSendDesign, destination, static_cast<uint32_t>(announced)), image,
      fileIndex, fileCount, cb, status);
}

// Reads a whole file for a plain file transfer, padded to whole blocks.
int ReadPaddedFile(const char* file, std::vector<uint8_t>& image, std::size_t& length) {
  if (!file) return kTransferFileOpen;
  std::vector<uint8_t> bytes;
  if (const int result = ReadTransferFile(file, bytes)) return result;
  length = bytes.size();
  image = PaddedImage({}, bytes);
  return kTransferOk;
}

int SendFile(int baudRate, const char* file, int* detail, ProgressCallback cb, uint8_t command) {
  ForgetFailedDesigns();
  Session session(detail);
  if (const int result = session.StartWithBaudRate(baudRate)) return result;
  std::vector<uint8_t> image;
  std::size_t length = 0;
  if (const int result = ReadPaddedFile(file, image, length)) return result;
  uint8_t status = 0;
  if (const int result = session.SendAnnounced(
          BuildLengthCommandFrame(command, 0, static_cast<uint32_t>(length)), image, 0, 1, cb, status)) {
    return result;
  }
  if (status == kStatusFailed) return kTransferDesignsFailed;
  return session.Close();
}

// Delete and diagnostic: one command at 9600 (sent again after a refusal for as long as
// the caller asks), then the status until the machine is done.
int CommandThenStatus(uint8_t command, uint8_t p1, uint8_t p2, uint8_t statusKind, int* detail,
                      RefusedCallback onRefused) {
  Session session(detail);
  if (const int result = session.Open()) return result;
  for (;;) {
    if (const int result = session.Exchange(BuildCommandFrame(command, p1, p2))) return result;
    if (session.Answer() != 0) break;
    if (!onRefused || onRefused(Link().Reply().data()) != 1) return session.Refused();
  }
  uint8_t status = 0;
  if (const int result = session.PollStatus(statusKind, status)) return result;
  return session.Close();
}

}  // namespace

extern "C" {

int SIO_InitializeIO(const char* portName, int baudRate, VelinorAbortEvent* abortEvent) {
  return Link().Initialize(portName, baudRate, abortEvent);
}

int SetDCBInformation(int baudRate) { return Link().Configure(baudRate); }

int SIO_TerminateIO(void) {
  Link().Terminate();
  return kTransferOk;
}

int Protocol_Seq_Download(int baudRate, TransferListEntry* list, int count, int* detail,
                          ProgressCallback cb) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    bool anyFailed = false;
    for (int index = 0; list && index < count && list[index].path[0] != '\0'; ++index) {
      const std::string path = transfer::EntryPath(list[index]);
      std::vector<uint8_t> design;
      if (const int result = ReadDesignFile(path, design)) return result;
      uint8_t status = 0;
      if (const int result = SendOneDesign(session, list[index].destination, path, design, index,
                                           count, cb, status)) {
        return result;
      }
      if (status == kStatusFailed) {
        (void)transfer::AppendErrorLog(transfer::ErrorLogPath(), path);
        anyFailed = true;
      }
    }
    const int closed = session.Close();
    return anyFailed ? kTransferDesignsFailed : closed;
  });
}

int Protocol_Seq_Download_Direct(int baudRate, const void* design, unsigned size, const char* name,
                                 int destination, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    if (!design || size == 0) return kTransferFileRead;
    uint8_t status = 0;
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(design), size);
    if (const int result = SendOneDesign(session, static_cast<uint8_t>(destination),
                                         name ? name : "", bytes, 0, 1, cb, status)) {
      return result;
    }
    if (status == kStatusFailed) return kTransferDesignsFailed;
    return session.Close();
  });
}

int Protocol_Seq_Upload(int baudRate, TransferListEntry* list, int count, int* detail,
                        ProgressCallback cb) {
  return Guarded([&]() -> int {
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    for (int index = 0; list && list[index].path[0] != '\0'; ++index) {
      const TransferListEntry& entry = list[index];
      if (const int result = session.SendAckOnly(
              BuildCommandFrame(kCmdSelectDesign, entry.destination, entry.designNo))) {
        return result;
      }
      Pause(kAfterSelectMs);
      if (const int result = session.FetchWhenReady(
              BuildCommandFrame(kCmdFetchDesign, entry.destination, entry.designNo))) {
        return result;
      }
      const std::size_t length = ReadBigEndian24(Link().Reply().data() + kReplyLength);
      Pause(kBeforeBlocksMs);
      std::vector<uint8_t> design;
      if (const int result = session.ReceiveBlocks(length, design, index, count, cb)) return result;
      if (const int result = WriteReceivedFile(transfer::EntryPath(entry), design)) return result;
    }
    return session.Close();
  });
}

int Protocol_Seq_DirUpload(int baudRate, const char* outFile, int destination, int* detail,
                           ProgressCallback cb) {
  return Guarded([&]() -> int {
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    const auto where = static_cast<uint8_t>(destination);
    if (const int result = session.SendAckOnly(BuildCommandFrame(kCmdPrepareDirectory, where))) {
      return result;
    }
    Pause(kAfterSelectMs);
    if (const int result = session.FetchWhenReady(BuildCommandFrame(kCmdFetchDirectory, where))) {
      return result;
    }
    // The directory's length is 16 bits: the first length byte is not part of it.
    const std::size_t length = ReadBigEndian16(Link().Reply().data() + kReplyLength + 1);
    Pause(kBeforeBlocksMs);
    std::vector<uint8_t> directory;
    if (const int result = session.ReceiveBlocks(length, directory, 0, 1, cb)) return result;
    if (const int result = session.Close()) return result;
    if (!outFile) return kTransferFileOpen;
    return WriteReceivedFile(outFile, directory);
  });
}

int Protocol_Seq_Delete(int destination, int designNo, int* detail, RefusedCallback onRefused) {
  return Guarded([&]() -> int {
    return CommandThenStatus(kCmdDeleteDesign, static_cast<uint8_t>(destination),
                             static_cast<uint8_t>(designNo), kStatusAfterDelete, detail, onRefused);
  });
}

int Protocol_Seq_Diagnostic(int value, int* detail, RefusedCallback onRefused) {
  return Guarded([&]() -> int {
    return CommandThenStatus(kCmdDiagnostic, static_cast<uint8_t>(value), 0,
                             kStatusAfterDiagnostic, detail, onRefused);
  });
}

int Protocol_Seq_DownloadOpeningBMP(int baudRate, const char* file, int* detail,
                                    ProgressCallback cb) {
  return Guarded([&]() -> int { return SendFile(baudRate, file, detail, cb, kCmdSendOpeningPicture); });
}

int Protocol_Seq_DownloadDiagnostic(int baudRate, const char* file, int* detail,
                                    ProgressCallback cb) {
  return Guarded([&]() -> int { return SendFile(baudRate, file, detail, cb, kCmdSendDiagnosticFile); });
}

int Protocol_Seq_Versionup(int baudRate, const char* file, int* detail, unsigned updateFlag,
                           ProgressCallback cb) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    std::vector<uint8_t> program;
    if (!file) return kTransferFileOpen;
    if (const int result = ReadTransferFile(file, program)) return result;
    const std::size_t segments = (program.size() + kProgramSegmentBytes - 1) / kProgramSegmentBytes;
    // The segment count travels in one byte.
    if (segments > 255) return kTransferFileRead;
    for (std::size_t s = 1; s <= segments; ++s) {
      const std::size_t start = (s - 1) * kProgramSegmentBytes;
      const std::size_t length = std::min(kProgramSegmentBytes, program.size() - start);
      const auto segmentNo = static_cast<uint8_t>(s | (updateFlag ? kUpdateFlagBit : 0));
      // A whole segment of 65,536 bytes reads as length 0 in its 16 bits.
      const auto length16 = static_cast<uint16_t>(length);
      const std::vector<uint8_t> image =
          PaddedImage({}, std::span<const uint8_t>(program).subspan(start, length));
      uint8_t status = 0;
      if (const int result = session.SendAnnounced(
              BuildCommandFrame(kCmdProgramSegment, segmentNo, static_cast<uint8_t>(segments),
                                static_cast<uint8_t>(length16 >> 8), static_cast<uint8_t>(length16)),
              image, static_cast<int>(s - 1), static_cast<int>(segments), cb, status)) {
        return result;
      }
      if (status == kStatusFailed) return kTransferDesignsFailed;
    }
    return session.Close();
  });
}

int Protocol_Seq_Versionup_Trigger(int baudRate, int* detail) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    Session session(detail);
    if (const int result = session.StartWithBaudRate(baudRate)) return result;
    // The trigger is one segment of one block; its content does not matter.
    const std::vector<uint8_t> block(kBlockDataBytes, 0);
    uint8_t status = 0;
    if (const int result = session.SendAnnounced(
            BuildCommandFrame(kCmdProgramSegment, 1, 1, kBlockDataBytes >> 8, kBlockDataBytes & 0xFF),
            block, 0, 1, nullptr, status)) {
      return result;
    }
    if (status == kStatusFailed) return kTransferDesignsFailed;
    return session.Close();
  });
}

int DisplayMessageByReturnCode(LinkWindow owner, const char* caption, int code, int detail) {
  return transfer::ShowReturnMessage(transfer::LinkKind::kSerial, owner, caption ? caption : "",
                                     code, detail, transfer::ErrorLogPath());
}

}  // extern "C"
