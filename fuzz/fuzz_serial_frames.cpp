// The machine's replies on the serial line as the link reads them: bytes arrive in pieces
// of any size (the first byte of the input sets the piece length), are gathered into whole
// replies and checked; a sound reply's fields are read as the sequences read them, and a
// data block's payload as the file-name record it may carry, whose name makes a record that
// reads back as the same name.
#include "fuzz/fuzz_support.h"
#include "link/file_name_record.h"
#include "link/serial/frame_assembler.h"
#include "link/serial/frames.h"

namespace {

// A name record read, built again for its name, reads back as that name (a name the link
// itself would write: a bare file name without blanks).
void CheckFileNameRecord(std::span<const uint8_t> payload) {
  const auto record = transfer::ParseFileNameRecord(payload);
  if (!record || record->name.empty() || record->name.find_first_of(" /\\") != std::string::npos) return;
  const auto again = transfer::ParseFileNameRecord(transfer::BuildFileNameRecord(record->name));
  vfuzz::Require(again && again->name == record->name, "a file-name record built from a name read reads as another name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> line(data, size);
  const std::size_t piece = 1 + vfuzz::TakeByte(line) * 8u;
  portline::FrameAssembler receiver;
  while (!line.empty()) {
    const std::size_t n = std::min(piece, line.size());
    // A buffer the reader cannot empty ends in a time-out, and the link starts afresh.
    if (!receiver.Append(line.data(), n)) receiver.Reset();
    line = line.subspan(n);
    while (receiver.Next()) {
      const auto reply = receiver.Reply();
      if (portline::CheckMachineReply(reply) != 0) continue;
      if (reply.size() == portline::kCommandFrameBytes) {
        (void)portline::ReadBigEndian24(reply.data() + portline::kReplyLength);
        (void)portline::ReadBigEndian16(reply.data() + portline::kReplyLength + 1);
      } else if (reply.size() == portline::kDataBlockFrameBytes) {
        CheckFileNameRecord(reply.subspan(2, portline::kBlockDataBytes));
      }
    }
  }
  return 0;
}
