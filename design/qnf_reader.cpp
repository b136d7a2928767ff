#include "design/qnf_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "design/qnf_file.h"
#include "design/stitch_stream.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace design {

long FindEndPair(std::span<const uint8_t> stitches) { return EndPairOffset(stitches); }

QnfReadStatus ReadQnf(std::span<const uint8_t> file, StitchRecord& record, int32_t maxPairs) {
  using platform::ReadI32;
  record.Clear();
  if (file.empty()) return QnfReadStatus::kEmpty;
  if (file.size() < kQnfHeaderSize) return QnfReadStatus::kDefective;

  const int32_t dataOffset = ReadI32(&file[qnf_offset::kStitchDataOffset]);
  const int32_t colours = ReadI32(&file[qnf_offset::kColourCount]);
  const int32_t pairs = ReadI32(&file[qnf_offset::kPairCount]);

  // A design with more pairs than the program takes is told so whatever else it holds;
  // then the colour count, which sizes the tables that are read next.
  if (pairs > maxPairs) return QnfReadStatus::kUnsupported;
  if (colours < 1 || colours > kMaxColours) return QnfReadStatus::kDefective;
  if (dataOffset != QnfStitchDataOffset(colours)) return QnfReadStatus::kDefective;
  if (pairs < 1) return QnfReadStatus::kDefective;
  const std::size_t stitchBytes = 2 * static_cast<std::size_t>(pairs);
  if (stitchBytes > record.StitchRoom()) return QnfReadStatus::kUnsupported;
  if (file.size() < static_cast<std::size_t>(dataOffset) ||
      file.size() - static_cast<std::size_t>(dataOffset) < stitchBytes) {
    return QnfReadStatus::kDefective;
  }
  const std::span<const uint8_t> stitches = file.subspan(static_cast<std::size_t>(dataOffset), stitchBytes);
  if (FindEndPair(stitches) != static_cast<long>(stitchBytes - 2)) return QnfReadStatus::kDefective;

  // Header fields 0..51 stand in the record as in the file; the two margin blocks swap.
  std::memcpy(record.Bytes().data(), file.data(), qnf_offset::kStandardHoopMargins);
  std::memcpy(&record.Bytes()[record_offset::kStandardHoopMargins],
              &file[qnf_offset::kStandardHoopMargins], 16);
  std::memcpy(&record.Bytes()[record_offset::kSmallHoopMargins],
              &file[qnf_offset::kSmallHoopMargins], 16);
  std::memcpy(&record.Bytes()[record_offset::kLargeHoopMargins],
              &file[qnf_offset::kLargeHoopMargins], 32);
  const uint8_t* codes = &file[qnf_offset::kColourTables];
  const uint8_t* types = codes + 4 * colours;
  for (int i = 0; i < colours; ++i) {
    record.SetThreadCode(i, ReadI32(codes + 4 * i));
    record.SetThreadType(i, ReadI32(types + 4 * i));
  }
  std::memcpy(record.Stitches(), stitches.data(), stitchBytes);
  return QnfReadStatus::kOk;
}

QnfFileResult ReadQnfFile(const std::filesystem::path& path, StitchRecord& record,
                          int32_t maxPairs) {
  QnfFileResult result;
  std::vector<uint8_t> bytes;
  // A sound design lies within the whole header, both full tables and the record's stitch
  // room; what a file holds after its end pair (a parts block) is never read.
  const std::size_t limit = kQnfHeaderSize + 8 * kMaxColours + record.StitchRoom();
  result.error = platform::ReadFileHead(path, bytes, limit);
  if (result.error) {
    record.Clear();
    return result;
  }
  result.status = ReadQnf(bytes, record, maxPairs);
  return result;
}

}  // namespace design
