#pragma once

// The machine's side of the serial link, played over a real pseudo-terminal pair: the
// computer's side opens DevicePath() as its port. The same machine also stands in for its
// USB device: AttachUsb() makes the platform open UsbPath() to a device whose control
// calls and blocks this machine answers from the same designs and scripted faults. It keeps designs per destination as an
// ordered list (a delete renumbers the later ones), answers every command of the serial
// sequences within a few milliseconds and never sends unasked. Faults can be scripted, and
// every byte that arrives is logged with its time, so tests can check the pacing.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "link/serial/frame_assembler.h"
#include "platform/usb_device.h"

namespace vtest {

struct StoredDesign {
  std::string name;
  std::vector<uint8_t> bytes;
};

struct MachineLogEntry {
  std::chrono::steady_clock::time_point at;
  std::string event;  // "ENQ", "EOT", "ACK", "NAK", "cmd 4", "block 0x82", ...
};

class MachineSimulator {
 public:
  // Opens the pseudo-terminal pair; Start() begins answering.
  MachineSimulator();
  ~MachineSimulator();
  MachineSimulator(const MachineSimulator&) = delete;
  MachineSimulator& operator=(const MachineSimulator&) = delete;

  const std::string& DevicePath() const { return devicePath_; }
  void Start();
  void Stop();

  // Designs on the machine, by destination, numbered from 1 in list order.
  void AddDesign(int destination, const std::string& name, std::vector<uint8_t> bytes);
  std::vector<StoredDesign> Designs(int destination) const;
  // Files sent with the opening-picture, diagnostic-file and program-update commands.
  std::vector<std::vector<uint8_t>> OtherFiles() const;

  // Scripted behaviour.
  // Every time until cleared. The serial face answers the detail's low byte; the USB face
  // all 16 bits.
  void RefuseCommand(uint8_t command, uint16_t detail);
  void ClearRefusals();
  void BusyFor(uint8_t command, int times);  // fetches (6, 11) answer busy; status (8) says 2
  void FailDesign(const std::string& name);  // status 3 after this design is sent
  void SetCapacity(std::size_t designsPerDestination);
  void CorruptNextReplyCrc();
  void SplitNextReply(int pieces);
  void GarbageBeforeNextReply();
  void DropNextReply();
  // The next data block goes out with the other block type, as if it were a repeat.
  void WrongTypeOnNextBlock();
  void SetSilent(bool silent);

  // The USB face. Attach installs the device opener (once per process at a time); the
  // path is this machine's own name, for VELINOR_USB_DEVICE. Detach is unplugging: open
  // handles fail from then on and report that their device has gone.
  const std::string& UsbPath() const { return usbPath_; }
  void AttachUsb();
  void DetachUsb();
  // A stalled device takes every call and answers none until it is released (or the
  // machine ends).
  void StallUsb(bool stalled);
  // The next USB read delivers fewer bytes than a block.
  void ShortNextUsbRead();
  // The next USB write reports one byte fewer than it was given.
  void ShortNextUsbWrite();
  // The next design fetch over USB announces this length instead of the design's.
  void LieAboutNextFetchLength(uint32_t length);
  // The status the machine reports once it has finished its next job, instead of "done".
  void SetNextFinalStatus(uint8_t status);
  // The next USB control call fails in the driver.
  void FailNextUsbControl();
  // Every control call as "8000200C 01 00 0B 02": the code and its four input bytes.
  std::vector<std::string> UsbCalls() const;

  // What the simulated device forwards.
  std::error_code UsbControl(uint32_t code, std::span<const uint8_t> input, std::span<uint8_t> output);
  std::error_code UsbWrite(std::span<const uint8_t> block, std::size_t& written);
  std::error_code UsbRead(std::span<uint8_t> block, std::size_t& got);

  std::vector<MachineLogEntry> Log() const;
  // Times of the log entries whose event is exactly this text.
  std::vector<std::chrono::steady_clock::time_point> TimesOf(const std::string& event) const;
  // Waits until the log holds `count` entries of this event (or USB control calls starting
  // with this text), or the limit has passed; returns how many there are. A test that acts on
  // the machine's progress waits for that progress, not for a time, so a loaded machine only
  // makes it slower.
  std::size_t WaitForEvents(const std::string& event, std::size_t count, std::chrono::milliseconds limit) const;
  std::size_t WaitForUsbCalls(const std::string& prefix, std::size_t count, std::chrono::milliseconds limit) const;
  // Everything the computer did against the protocol: a wrong rate, a bad CRC, a broken
  // file-name record.
  std::vector<std::string> Errors() const;

 private:
  enum class Mode { kIdle, kAwaitReplyAck, kReceivingBlocks, kSendingBlocks };
  enum class AfterAck { kIdle, kReceive, kSend };

  void Run();
  void Handle(std::span<const uint8_t> message);
  void HandleCommand(std::span<const uint8_t> frame);
  void HandleBlock(std::span<const uint8_t> frame);
  void HandleAck();
  void CheckRate(const char* when);
  void FinishReceiving();
  void SendBytes(std::span<const uint8_t> bytes);
  void SendControl(uint8_t control);
  void SendReply(uint8_t command, uint8_t answer, uint8_t detail, uint32_t length,
                 AfterAck afterAck);
  void SendCurrentBlock();
  void Note(const std::string& event);
  void Error(const std::string& what);
  int LineRate() const;

  struct UsbLine;
  bool TakeBusy(uint8_t command);
  void InitUsbFace();
  void EndUsbFace();

  int masterFd_ = -1;
  int slaveFd_ = -1;
  std::string devicePath_;
  std::thread thread_;
  std::atomic<bool> running_{false};

  mutable std::mutex mutex_;
  mutable std::condition_variable logged_;  // a log entry was added
  portline::FrameAssembler assembler_{true};
  std::map<int, std::vector<StoredDesign>> designs_;
  std::vector<std::vector<uint8_t>> otherFiles_;
  std::map<uint8_t, uint16_t> refusals_;
  std::map<uint8_t, int> busy_;
  std::set<std::string> failNames_;
  std::size_t capacity_ = 100;
  bool corruptNext_ = false;
  int splitNext_ = 0;
  bool garbageNext_ = false;
  bool dropNext_ = false;
  bool wrongTypeNext_ = false;
  bool silent_ = false;
  std::vector<MachineLogEntry> log_;
  std::vector<std::string> errors_;

  int expectedRate_ = 9600;
  Mode mode_ = Mode::kIdle;
  AfterAck afterAck_ = AfterAck::kIdle;
  std::vector<uint8_t> lastReply_;
  uint8_t pendingCommand_ = 0;
  uint8_t pendingDestination_ = 0;
  uint8_t lastStatus_ = 1;
  // Blocks moving either way.
  std::vector<uint8_t> transfer_;
  std::size_t transferLength_ = 0;
  std::size_t blockIndex_ = 0;
  uint8_t receivingCommand_ = 0;

  // The USB face: blocks written to the machine, or read from it.
  enum class UsbMode { kIdle, kReceiving, kSending };
  std::string usbPath_;
  std::shared_ptr<UsbLine> usbLine_;
  bool usbOpenerInstalled_ = false;
  UsbMode usbMode_ = UsbMode::kIdle;
  std::size_t usbReadAt_ = 0;
  bool shortNextUsbRead_ = false;
  bool shortNextUsbWrite_ = false;
  uint32_t lieNextLength_ = 0;
  uint8_t nextFinalStatus_ = 0;
  bool failNextUsbControl_ = false;
  std::vector<std::string> usbCalls_;
};

}  // namespace vtest
