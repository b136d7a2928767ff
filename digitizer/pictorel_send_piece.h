#pragma once

// A design too long for the machine is sent as pieces: the stitch stream cut at colour-block
// boundaries, each piece a QNF image of its own that starts with a jump from the hoop centre
// to where its first block begins, so the pieces sewn one after another land where the
// whole design would have.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "design/qnf_file.h"
#include "digitizer/stitch_design.h"

namespace digitizer {

// Flags word of a piece image: the machine reads 11 as one piece of a split design.
constexpr int32_t kPieceFlags = 11;
// Where a piece image keeps its split's tag ('1'..'9') and its number, after the 14 digits of
// its date text.
constexpr std::size_t kPieceTagAt = design::qnf_offset::kDateText + 14;
constexpr std::size_t kPieceNumberAt = design::qnf_offset::kDateText + 15;
// The longest piece image: header, a full colour table and 65,535 pairs.
constexpr std::size_t kPieceImageBytes = 131810;

// Appends the jump pairs that move the needle from (x0, y0) to (x1, y1), positions in
// 0.1 mm with y growing downward (the stored dy is the negated downward difference).
// The same point writes nothing; a move that fits one pair is one jump, anything longer
// the system's jump chain. Returns the pairs appended.
std::size_t WriteJump(int x0, int y0, int x1, int y1, std::vector<uint8_t>& stitches);

// Cuts the next piece of design into out (replaced) as a QNF image of at most limit pairs.
// nextBlock is 1 before the first call; after a cut it is the number of the piece's next
// colour block plus 1, and 0 after the last piece. tag and pieceNo go into date bytes 22
// and 23. Returns the image's size, 0 when the piece cannot be made (a single colour block
// over the limit, a stream without its end, nextBlock past the design's blocks).
std::size_t CutPiece(const CStitchDesign& design, int& nextBlock, std::vector<uint8_t>& out, int32_t limit,
                     char tag, int pieceNo);

// Cuts the whole design into its pieces (numbered from 1) before any is written, so that a
// design that cannot be divided leaves nothing behind. False (pieces empty) when one cannot
// be made. Every piece holds at least one colour block, so there are never more pieces than
// blocks.
bool CutAllPieces(const CStitchDesign& design, int32_t limit, char tag, std::vector<std::vector<uint8_t>>& pieces);

}  // namespace digitizer
