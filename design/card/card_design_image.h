#pragma once

// What the card code needs to know of a QNF file image read into its design buffer, before
// it trusts a single count: the buffer holds whatever a file on the PC or on the card held.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace card {

struct CardDesignHead {
  int32_t stitchDataOffset = 0;
  int32_t colourCount = 0;
  int32_t pairCount = 0;
  int32_t hoopCode = 0;
};

// The head when the bytes hold a whole header with a colour count of 1..78, the stitch
// data at 116 + 8n, its colour tables present and a pair count of at least 1; the pair
// count is not yet checked against the bytes (a design too large for the card is told
// apart from a broken file).
std::optional<CardDesignHead> ReadCardDesignHead(std::span<const uint8_t> image);

// The thread code of colour block i (0-based, below the head's colour count).
int32_t CardDesignThreadCode(std::span<const uint8_t> image, int block);

// The bytes of the design the card takes, header to end pair: stitch-data offset + 2 x
// pair count, when all of them are present and the stream, read by the pair rules, ends
// exactly at its last pair; 0 otherwise. Anything after the end pair (such as a parts
// block) is not the card's.
std::size_t CardImageSize(std::span<const uint8_t> image, const CardDesignHead& head);

// Whether the bytes hold a design the card's reader takes: a sound head and a stream that
// the counts bear out (CardImageSize is not 0).
bool IsSoundCardDesign(std::span<const uint8_t> image);

}  // namespace card
