// The exported entry points: the device's opening and events, and each transfer as a
// series of control calls followed by 512-byte blocks.

#include "link/usb/cablink.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "link/file_name_record.h"
#include "link/return_messages.h"
#include "link/serial/design_file.h"
#include "link/transfer_list.h"
#include "link/usb/usb_device_link.h"
#include "platform/file_io.h"
#include "platform/usb_device.h"

using namespace cablink;

namespace {

// A program update travels in segments of this size.
constexpr std::size_t kProgramSegmentBytes = 65536;
// The set bit that asks the machine to install the segments it receives.
constexpr uint8_t kUpdateFlagBit = 0x80;
// The segment number shares its byte with the update flag (0x80): numbers run 1..127, so a
// segment is never read as another one with the flag.
constexpr std::size_t kMaxProgramSegments = 127;
// Over USB, -13 is the link's "one or more designs failed" (the failed-design list).
constexpr int kDesignsFailed = kTransferMachineFail;

// Every send starts with an empty list of failed designs, so that the list shown for its
// -13 names only designs of this send.
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

// Sends the file-name record and the design as one image, then waits for the machine's
// verdict on it.
int SendDesign(uint8_t destination, std::string_view announcedName, std::span<const uint8_t> design,
               int fileIndex, int fileCount, int* detail, ProgressCallback cb, uint8_t& status) {
  const std::vector<uint8_t> record = transfer::BuildFileNameRecord(announcedName);
  if (record.empty()) return kTransferNoMemory;
  const std::size_t announced = record.size() + design.size();
  if (announced > portline::kMaxTransferBytes) return kTransferFileRead;
  const std::vector<uint8_t> image = portline::PaddedImage(record, design);
  if (const int result =
          SendImage(kCtlSendDesign, LengthInput(destination, static_cast<uint32_t>(announced)),
                    image, fileIndex, fileCount, detail, cb)) {
    return result;
  }
  return WaitWhileBusy(status);
}

// A plain file (an opening picture) sent whole, then the machine's verdict.
int SendFile(const char* file, uint32_t code, int* detail, ProgressCallback cb) {
  if (!file) return kTransferFileOpen;
  std::vector<uint8_t> bytes;
  if (const int result = portline::ReadTransferFile(file, bytes)) return result;
  const std::vector<uint8_t> image = portline::PaddedImage({}, bytes);
  if (const int result = SendImage(code, LengthInput(0, static_cast<uint32_t>(bytes.size())), image,
                                   0, 1, detail, cb)) {
    return result;
  }
  uint8_t status = 0;
  if (const int result = WaitWhileBusy(status)) return result;
  return status == kStatusFailed ? kDesignsFailed : kTransferOk;
}

int SendSegment(std::span<const uint8_t> segment, uint8_t segmentNo, uint8_t segmentCount,
                int fileIndex, int* detail, ProgressCallback cb) {
  // A whole segment of 65,536 bytes reads as length 0 in its 16 bits.
  const auto length16 = static_cast<uint16_t>(segment.size());
  const std::vector<uint8_t> image = portline::PaddedImage({}, segment);
  if (const int result =
          SendImage(kCtlProgramSegment, SegmentInput(segmentNo, segmentCount, length16), image,
                    fileIndex, segmentCount, detail, cb)) {
    return result;
  }
  uint8_t status = 0;
  if (const int result = WaitWhileBusy(status)) return result;
  return status == kStatusFailed ? kDesignsFailed : kTransferOk;
}

}  // namespace

extern "C" {

int USB_Initialize(LinkWindow notifyWindow, VelinorAbortEvent* abortEvent) {
  return OpenMachine(notifyWindow, abortEvent);
}

int USB_Terminate(void) {
  CloseMachine();
  return kTransferOk;
}

int USB_EventProc(LinkWindow notifyWindow, uintptr_t event, intptr_t data) {
  switch (event) {
    case kUsbEventNodesChanged:
      // The abort handle of a running transfer stays: a device appearing elsewhere must
      // not take the user's Cancel away from it.
      return OpenMachine(notifyWindow, StoredAbortEvent());
    case kUsbEventRemovalComplete: {
      const auto* notice = reinterpret_cast<const UsbDeviceNotice*>(data);
      if (notice && notice->kind == kUsbNoticeDeviceInterface) {
        const std::string name(notice->name, strnlen(notice->name, sizeof notice->name));
        if (IsOpenMachinePath(name.c_str())) CloseMachine();
      }
      return -1;
    }
    default:
      return 1;
  }
}

int USB_Download_Sequence(TransferListEntry* list, int count, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    bool anyFailed = false;
    for (int index = 0; list && index < count; ++index) {
      if (AbortRequested()) return kTransferAborted;
      // A list cut short (at the machine's limit) ends here; the caller decides whether
      // that counts as a failure.
      if (list[index].path[0] == '\0') return kDesignsFailed;
      const std::string path = transfer::EntryPath(list[index]);
      std::vector<uint8_t> design;
      if (const int result = portline::ReadDesignFile(path, design)) return result;
      uint8_t status = 0;
      if (const int result =
              SendDesign(list[index].destination, path, design, index, count, detail, cb, status)) {
        return result;
      }
      if (status == kStatusFailed) {
        (void)transfer::AppendErrorLog(transfer::ErrorLogPath(), path);
        anyFailed = true;
      }
    }
    return anyFailed ? kDesignsFailed : kTransferOk;
  });
}

int USB_DirectDownload_Sequence(const void* design, unsigned size, const char* name,
                                int destination, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    ForgetFailedDesigns();
    if (!design || size == 0) return kTransferFileRead;
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(design), size);
    uint8_t status = 0;
    if (const int result = SendDesign(static_cast<uint8_t>(destination), name ? name : "", bytes, 0,
                                      1, detail, cb, status)) {
      return result;
    }
    return status == kStatusFailed ? kDesignsFailed : kTransferOk;
  });
}

int USB_Upload_Sequence(TransferListEntry* list, int count, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    for (int index = 0; list && index < count; ++index) {
      if (AbortRequested()) return kTransferAborted;
      const TransferListEntry& entry = list[index];
      const ControlInput which = DesignInput(entry.destination, entry.designNo);
      if (const int result = ControlCall(kCtlSelectDesign, which, {})) return result;
      Pause(kAfterSelectMs);
      const std::string path = transfer::EntryPath(entry);
      if (const int result = ReceiveToFile(kCtlFetchDesign, which, kDesignLengthBytes, path.c_str(),
                                           index, count, detail, cb)) {
        return result;
      }
    }
    return kTransferOk;
  });
}

int USB_Erase_Sequence(int destination, int designNo, int* detail, RefusedCallback onRefused) {
  return Guarded([&]() -> int {
    const ControlInput which =
        DesignInput(static_cast<uint8_t>(destination), static_cast<uint16_t>(designNo));
    for (;;) {
      if (AbortRequested()) return kTransferAborted;
      ControlAnswer answer{};
      if (const int result = ControlCall(kCtlDeleteDesign, which, answer)) return result;
      if (answer[0] != kAnswerRefused) break;
      if (!onRefused || onRefused(answer.data()) != 1) {
        if (detail) *detail = answer[kAnswerDetail];
        return kTransferRefused;
      }
    }
    uint8_t status = 0;
    do {
      if (AbortRequested()) return kTransferAborted;
      Pause(kStatusPollMs);
      ControlAnswer answer{};
      if (const int result = ControlCall(kCtlStatus, {kStatusAfterDelete, 0, 0, 0}, answer)) {
        return result;
      }
      status = answer[0];
    } while (status == kStatusBusy);
    // Waiting for "done" alone would poll for ever on any other answer; the machine has
    // finished with the delete either way, but only "done" is a success.
    return status == kStatusDone ? kTransferOk : kTransferInvalidReply;
  });
}

int USB_DirUpload_Sequence(const char* outFile, int destination, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    const ControlInput which = {static_cast<uint8_t>(destination), 0, 0, 0};
    if (const int result = ControlCall(kCtlPrepareDirectory, which, {})) return result;
    Pause(kAfterSelectMs);
    return ReceiveToFile(kCtlFetchDirectory, which, kDirectoryLengthBytes, outFile, 0, 1, detail,
                         cb);
  });
}

int USB_Opening_Sequence(const char* file, int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int { return SendFile(file, kCtlSendOpeningPicture, detail, cb); });
}

int USB_Versionup_Sequence(const char* file, int* detail, unsigned updateFlag,
                           ProgressCallback cb) {
  return Guarded([&]() -> int {
    if (!file) return kTransferFileOpen;
    std::vector<uint8_t> program;
    if (const int result = portline::ReadTransferFile(file, program)) return result;
    const std::size_t segments = (program.size() + kProgramSegmentBytes - 1) / kProgramSegmentBytes;
    if (segments > kMaxProgramSegments) return kTransferFileRead;
    for (std::size_t s = 1; s <= segments; ++s) {
      if (AbortRequested()) return kTransferAborted;
      const std::size_t start = (s - 1) * kProgramSegmentBytes;
      const std::size_t length = std::min(kProgramSegmentBytes, program.size() - start);
      const auto segmentNo = static_cast<uint8_t>(s | (updateFlag ? kUpdateFlagBit : 0));
      // The callback's index is the segment number itself, from 1.
      if (const int result =
              SendSegment(std::span<const uint8_t>(program).subspan(start, length), segmentNo,
                          static_cast<uint8_t>(segments), static_cast<int>(s), detail, cb)) {
        return result;
      }
    }
    return kTransferOk;
  });
}

int USB_Versionup_Sequence_Trigger(int* detail, ProgressCallback cb) {
  return Guarded([&]() -> int {
    // The trigger is one segment of one block; its content does not matter.
    const std::vector<uint8_t> block(platform::kUsbBlockBytes, 0);
    return SendSegment(block, 1, 1, 1, detail, cb);
  });
}

int USB_DisplayMessageByReturnCode(LinkWindow owner, const char* caption, int code, int detail) {
  return transfer::ShowReturnMessage(transfer::LinkKind::kUsb, owner, caption ? caption : "", code,
                                     detail, transfer::ErrorLogPath());
}

}  // extern "C"
