#include "design/card/card_design_image.h"

#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "design/stitch_record.h"
#include "platform/le_bytes.h"

namespace card {

std::optional<CardDesignHead> ReadCardDesignHead(std::span<const uint8_t> image) {
  using platform::ReadI32;
  if (image.size() < design::kQnfHeaderSize) return std::nullopt;
  CardDesignHead head;
  head.stitchDataOffset = ReadI32(&image[design::qnf_offset::kStitchDataOffset]);
  head.colourCount = ReadI32(&image[design::qnf_offset::kColourCount]);
  head.pairCount = ReadI32(&image[design::qnf_offset::kPairCount]);
  head.hoopCode = ReadI32(&image[design::qnf_offset::kHoopCode]);
  if (head.colourCount < 1 || head.colourCount > design::kMaxColours) return std::nullopt;
  if (head.stitchDataOffset != design::QnfStitchDataOffset(head.colourCount)) return std::nullopt;
  if (image.size() < static_cast<std::size_t>(head.stitchDataOffset)) return std::nullopt;
  if (head.pairCount < 1) return std::nullopt;
  return head;
}

int32_t CardDesignThreadCode(std::span<const uint8_t> image, int block) {
  return platform::ReadI32(&image[design::qnf_offset::kColourTables + 4 * block]);
}

std::size_t CardImageSize(std::span<const uint8_t> image, const CardDesignHead& head) {
  const std::size_t offset = static_cast<std::size_t>(head.stitchDataOffset);
  const std::size_t stitchBytes = 2 * static_cast<std::size_t>(head.pairCount);
  if (offset > image.size() || stitchBytes > image.size() - offset) return 0;
  if (design::FindEndPair(image.subspan(offset, stitchBytes)) !=
      static_cast<long>(stitchBytes - 2)) {
    return 0;
  }
  return offset + stitchBytes;
}

bool IsSoundCardDesign(std::span<const uint8_t> image) {
  const auto head = ReadCardDesignHead(image);
  return head && CardImageSize(image, *head) != 0;
}

}  // namespace card
