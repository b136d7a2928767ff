// Cross stitch: crosses on a grid of 8 x 8-pixel (2 mm) cells. Occupied cells are taken in
// serpentine blocks, row by row; each cell's pattern also carries the needle to the corner
// where the next cell of its row begins, so a block is sewn without jumps.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "stitchgen/fill_family.h"

namespace seamlib {

namespace {

constexpr int kCellPixels = 8;
constexpr int kCellStitch = 20;      // a cell's side in 0.1 mm
constexpr int kOccupiedPixels = 20;  // of a cell's 64 pixels
constexpr int kMaxJoinStep = 20;     // farther than one cell: tie off before moving

// Occupancy of a cell.
constexpr uint8_t kEmpty = 0;
constexpr uint8_t kDone = 1;
constexpr uint8_t kTaken = 128;  // by the block being built
constexpr uint8_t kFree = 255;   // occupied, not yet in a block

// Where a cell's pattern begins and which way it leaves the needle.
enum class CellKind { kRightward = 1, kLeftward = 2, kFirstRightward = 4, kLastLeftward = 5 };

struct CellPattern {
  const WrittenPair* pairs;
  int count;
  int netX;  // 0.1 mm, y downwards
  int netY;
};

// Pairs as written (dy upwards): two 0.5 mm steps to the centre, then both diagonals corner
// to corner, ending where the next cell begins.
constexpr WrittenPair kRightwardPairs[] = {{5, 5},     {5, 5},    {10, 10},  {-20, -20}, {20, 20},
                                           {-10, -10}, {-10, 10}, {20, -20}, {-20, 20},  {20, -20}};
constexpr WrittenPair kLeftwardPairs[] = {{-5, -5}, {-5, -5},  {-10, -10}, {20, 20},  {-20, -20},
                                          {10, 10}, {10, -10}, {-20, 20},  {20, -20}, {-20, 20}};
constexpr WrittenPair kFirstRightwardPairs[] = {{5, -5},   {5, -5},    {10, 10}, {-20, -20},
                                                {20, 20},  {-20, -20}, {10, 10}, {-10, 10},
                                                {20, -20}, {-20, 20},  {20, -20}};
constexpr WrittenPair kLastLeftwardPairs[] = {{-5, -5}, {-5, -5},  {-10, -10}, {20, 20}, {-20, -20},
                                              {10, 10}, {10, -10}, {-20, 20},  {20, -20}};

template <int N>
constexpr CellPattern Pattern(const WrittenPair (&pairs)[N], int netX, int netY) {
  return CellPattern{pairs, N, netX, netY};
}

CellPattern PatternOf(CellKind kind) {
  switch (kind) {
    case CellKind::kRightward:
      return Pattern(kRightwardPairs, kCellStitch, 0);
    case CellKind::kLeftward:
      return Pattern(kLeftwardPairs, -kCellStitch, 0);
    case CellKind::kFirstRightward:
      return Pattern(kFirstRightwardPairs, kCellStitch, kCellStitch);
    case CellKind::kLastLeftward:
      return Pattern(kLastLeftwardPairs, 0, kCellStitch);
  }
  return Pattern(kRightwardPairs, kCellStitch, 0);
}

// Vertical 0.5 mm tie-offs, as written (dy upwards), always into the cell just sewn: upwards
// first after a cell that left the needle on its lower edge (kinds 1, 4, 5), downwards first
// after one that left it on its upper edge (kind 2).
constexpr WrittenPair kTieOffUpFirst[4] = {{0, 5}, {0, 5}, {0, -5}, {0, -5}};
constexpr WrittenPair kTieOffDownFirst[4] = {{0, -5}, {0, -5}, {0, 5}, {0, 5}};
constexpr int kTieOffPairs = 4;

const WrittenPair* TieOffAfter(CellKind lastKind) {
  return lastKind == CellKind::kLeftward ? kTieOffDownFirst : kTieOffUpFirst;
}

// One row of a block: the cells lowColumn..highColumn of cell row `row`.
struct BlockRow {
  int row;
  int lowColumn;
  int highColumn;
};

class CrossStitcher {
 public:
  CrossStitcher(const FillJob& job)
      : out_(*job.out),
        columns_(job.cellGrid.columns),
        rows_(job.cellGrid.rows),
        occupancy_(static_cast<std::size_t>(columns_) * rows_, kEmpty) {
    blockRows_.reserve(static_cast<std::size_t>(rows_));
  }

  int CountCells(const PixelPlane& mask);
  int StitchCells();

 private:
  uint8_t& Cell(int column, int row) {
    return occupancy_[static_cast<std::size_t>(row) * columns_ + column];
  }
  bool IsFree(int column, int row) {
    return column >= 0 && column < columns_ && row >= 0 && row < rows_ &&
           Cell(column, row) == kFree;
  }
  bool IsTaken(int column, int row) {
    return column >= 0 && column < columns_ && Cell(column, row) == kTaken;
  }
  void BuildBlock(int column, int row);
  int SewBlock();
  bool SewCell(int column, int row, CellKind kind, bool firstOfBlock);

  StitchOutput& out_;
  int columns_;
  int rows_;
  std::vector<uint8_t> occupancy_;
  std::vector<BlockRow> blockRows_;
  // The kind of the last cell sewn; before any, the tie-off is the one after kind 2.
  CellKind lastKind_ = CellKind::kLeftward;
};

int CrossStitcher::CountCells(const PixelPlane& mask) {
  int occupied = 0;
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      int set = 0;
      for (int y = 0; y < kCellPixels; ++y) {
        for (int x = 0; x < kCellPixels; ++x) {
          if (mask.At(kCellPixels * column + 1 + x, kCellPixels * row + 1 + y) == 1) ++set;
        }
      }
      if (set >= kOccupiedPixels) {
        Cell(column, row) = kFree;
        ++occupied;
      }
    }
  }
  return occupied;
}

void CrossStitcher::BuildBlock(int column, int row) {
  blockRows_.clear();
  int direction = 1;  // the first row is walked rightwards
  for (;;) {
    // Take the run from `column` in the walking direction.
    int last = column;
    for (int c = column; IsFree(c, row); c += direction) {
      Cell(c, row) = kTaken;
      last = c;
    }
    blockRows_.push_back(direction > 0 ? BlockRow{row, column, last} : BlockRow{row, last, column});
    if (row + 1 >= rows_) break;

    if (IsFree(last, row + 1)) {
      // The next row's run through the cell below, walked back from its far end.
      int farEnd = last;
      while (IsFree(farEnd + direction, row + 1)) farEnd += direction;
      column = farEnd;
    } else {
      // Search back under this row for the next free cell; the block goes on there only when
      // it lies under this row's run with one more taken cell on the side the search came
      // from, so the needle never crosses open ground.
      int found = -1;
      for (int c = last - direction; c >= 0 && c < columns_; c -= direction) {
        if (IsFree(c, row + 1)) {
          found = c;
          break;
        }
      }
      if (found < 0 || !IsTaken(found, row) || !IsTaken(found + direction, row)) break;
      column = found;
    }
    direction = -direction;
    ++row;
  }
  for (const BlockRow& taken : blockRows_) {
    for (int c = taken.lowColumn; c <= taken.highColumn; ++c) Cell(c, taken.row) = kDone;
  }
}

bool CrossStitcher::SewCell(int column, int row, CellKind kind, bool firstOfBlock) {
  // The corner where the pattern begins.
  const bool topEdge = kind != CellKind::kRightward;
  const bool rightEdge = kind == CellKind::kLeftward || kind == CellKind::kLastLeftward;
  const int targetX = kCellStitch * column + (rightEdge ? kCellStitch : 0);
  const int targetY = kCellStitch * row + (topEdge ? 0 : kCellStitch);
  const int dx = targetX - out_.NeedleX();
  const int dy = targetY - out_.NeedleY();
  const bool tieOffFirst =
      !firstOfBlock && (std::abs(dx) > kMaxJoinStep || std::abs(dy) > kMaxJoinStep);
  const CellPattern pattern = PatternOf(kind);

  // The whole cell or nothing: a cell cut short would leave a half cross on the cloth.
  if (!out_.Reserve((tieOffFirst ? 2 * kTieOffPairs : 0) + StitchOutput::StitchBytes(dx, dy) +
                    2 * pattern.count)) {
    return false;
  }
  if (tieOffFirst) out_.PutPairs(TieOffAfter(lastKind_), kTieOffPairs);
  out_.PutStitch(dx, dy);
  out_.PutPairs(pattern.pairs, pattern.count);
  out_.SetNeedle(targetX + pattern.netX, targetY + pattern.netY);
  lastKind_ = kind;
  return true;
}

int CrossStitcher::SewBlock() {
  bool first = true;
  for (std::size_t index = 0; index < blockRows_.size(); ++index) {
    const BlockRow& blockRow = blockRows_[index];
    if (index % 2 == 0) {
      for (int c = blockRow.lowColumn; c <= blockRow.highColumn; ++c) {
        const CellKind kind =
            c == blockRow.lowColumn ? CellKind::kFirstRightward : CellKind::kRightward;
        if (!SewCell(c, blockRow.row, kind, first)) return -1;
        first = false;
      }
    } else {
      for (int c = blockRow.highColumn; c >= blockRow.lowColumn; --c) {
        const CellKind kind =
            c == blockRow.lowColumn ? CellKind::kLastLeftward : CellKind::kLeftward;
        if (!SewCell(c, blockRow.row, kind, first)) return -1;
        first = false;
      }
    }
  }
  if (!out_.PutPairs(TieOffAfter(lastKind_), kTieOffPairs)) return -1;
  return 1;
}

int CrossStitcher::StitchCells() {
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      if (Cell(column, row) != kFree) continue;
      BuildBlock(column, row);
      if (SewBlock() < 0) return -1;
    }
  }
  return 1;
}

}  // namespace

int RunCrossStitch(FillJob& job) {
  CrossStitcher stitcher(job);
  if (stitcher.CountCells(job.mask) == 0) return 0;  // nothing written, not even the jump
  if (!job.out->PutZeroJump()) return -1;
  return stitcher.StitchCells();
}

}  // namespace seamlib
