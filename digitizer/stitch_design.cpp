#include "digitizer/stitch_design.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "design/stitch_stream.h"
#include "digitizer/pack_bytes.h"
#include "digitizer/part_names.h"
#include "digitizer/make_stitch_transform.h"
#include "digitizer/pictorel_message.h"
#include "digitizer/stitch_view_drawing.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace digitizer {

namespace {

using design::kQnfHeaderSize;
using design::StitchRecord;
namespace qnf = design::qnf_offset;

constexpr std::size_t kMaxMaskBytes = 56000;  // the large hoop's 560 x 800 pixels
// The largest raw payload a file may claim: every part a large-hoop part.
constexpr std::size_t kMaxRawLength =
    PartsExtension::kPayloadHeadBytes + kMaxParts * (kMaxMaskBytes + PartsExtension::kPerPartFixedBytes);
// A design file is never longer than its largest head, stitches, parts block and the older
// block's bytes; a longer file is read only that far.
constexpr std::size_t kMaxFileBytes = kQnfHeaderSize + 8 * design::kMaxColours +
                                      2 * static_cast<std::size_t>(kMaxDesignPairs) +
                                      PartsExtension::kHeadBytes * 2 + kMaxRawLength +
                                      PartsExtension::kOlderBlockBytes;
// The part's satin records are kept with their stitch type code only for the satin fill
// without parameter.
constexpr uint16_t kSatinCode = MakeStitchCode(kSatinStitch, 0);

constexpr std::size_t kSatinRecordBytes = 24;

void PutSatin(uint8_t* p, const SatinSettings& satin) {
  for (const SatinColumnRecord& column : satin) {
    platform::WriteI32(p, column.x1);
    platform::WriteI32(p + 4, column.y1);
    platform::WriteI32(p + 8, column.x2);
    platform::WriteI32(p + 12, column.y2);
    const uint64_t spacing = std::bit_cast<uint64_t>(column.spacing);
    platform::WriteU32(p + 16, static_cast<uint32_t>(spacing));
    platform::WriteU32(p + 20, static_cast<uint32_t>(spacing >> 32));
    p += kSatinRecordBytes;
  }
}

SatinSettings GetSatin(const uint8_t* p) {
  SatinSettings satin{};
  for (SatinColumnRecord& column : satin) {
    column.x1 = platform::ReadI32(p);
    column.y1 = platform::ReadI32(p + 4);
    column.x2 = platform::ReadI32(p + 8);
    column.y2 = platform::ReadI32(p + 12);
    const uint64_t spacing = platform::ReadU32(p + 16) | (uint64_t{platform::ReadU32(p + 20)} << 32);
    column.spacing = std::bit_cast<double>(spacing);
    p += kSatinRecordBytes;
  }
  return satin;
}

void PutMargins(uint8_t* p, design::MarginBlock m) {
  if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) m = design::MarginBlock{};
  platform::WriteI32(p, m.left);
  platform::WriteI32(p + 4, m.top);
  platform::WriteI32(p + 8, m.right);
  platform::WriteI32(p + 12, m.bottom);
}

design::MarginBlock MarginsWithin(int halfWidth, int halfHeight, const design::Extents& e) {
  return {halfWidth - e.left, halfHeight - e.top, halfWidth - e.right, halfHeight - e.bottom};
}

bool IsWorkSize(int width, int height) {
  return (width == CStitchDesign::kStandardWorkSize && height == CStitchDesign::kStandardWorkSize) ||
         (width == CStitchDesign::kSmallWorkSize && height == CStitchDesign::kSmallWorkSize) ||
         (width == CStitchDesign::kLargeWorkWidth && height == CStitchDesign::kLargeWorkHeight);
}

// Pairs up to and including the end pair within the bytes, or -1 when they hold none.
long PairsThroughEnd(std::span<const uint8_t> stitches) {
  const long end = design::FindEndPair(stitches);
  return end < 0 ? -1 : end / 2 + 1;
}

// The colour blocks of a stream: one, and one more after every colour change.
int CountColourBlocks(std::span<const uint8_t> stitches) {
  int blocks = 1;
  for (std::size_t at = 0; at + 2 <= stitches.size();) {
    const uint8_t* pair = stitches.data() + at;
    if (!design::IsControl(pair)) {
      at += 2;
      continue;
    }
    if (pair[1] == design::kColourChange) ++blocks;
    at += (pair[1] == design::kColourChange || design::IsJumpCode(pair[1])) ? 4 : 2;
  }
  return blocks;
}

}  // namespace

PartsExtension ReadExtensionHead(std::span<const uint8_t, PartsExtension::kHeadBytes> head) {
  PartsExtension result;
  for (std::size_t i = 0; i < PartsExtension::kMagic.size(); ++i) {
    if (head[i] == PartsExtension::kMagic[i]) continue;
    const bool printable = head[i] >= PartsExtension::kOlderFirst && head[i] <= PartsExtension::kOlderLast;
    result.version = printable ? PartsExtension::kOlderBlock : 1;
    return result;
  }
  result.version = head[7];
  result.rawLength = platform::ReadU32(&head[8]);
  result.packedLength = platform::ReadU32(&head[12]);
  return result;
}

std::size_t PartMaskBytes(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  return (w % 16 != 0 ? w + 8 : w) * h / 8;
}

CStitchDesign::CStitchDesign()
    : workMaskA_(kWorkMaskBytes, 0), workMaskB_(kWorkMaskBytes, 0), bitmapBits_(kBitmapBitsBytes, 0) {}
CStitchDesign::~CStitchDesign() = default;

void CStitchDesign::SetHoop(int hoopKind) {
  switch (hoopKind) {
    case design::kSmallHoop:
      hoopKind_ = design::kSmallHoop;
      workWidth_ = workHeight_ = kSmallWorkSize;
      break;
    case design::kLargeHoop:
      hoopKind_ = design::kLargeHoop;
      workWidth_ = kLargeWorkWidth;
      workHeight_ = kLargeWorkHeight;
      break;
    default:
      // Stored as standard too, so that a stray code is never written back to a file.
      hoopKind_ = design::kStandardHoop;
      workWidth_ = workHeight_ = kStandardWorkSize;
      break;
  }
  MeasureExtents();
}

int32_t CStitchDesign::GetStitchCount() const {
  if (!record_) return 0;
  const std::span<const uint8_t> area = record_->StitchArea().first(2 * static_cast<std::size_t>(kMaxDesignPairs));
  const long pairs = PairsThroughEnd(area);
  return pairs < 0 ? kMaxDesignPairs : static_cast<int32_t>(pairs);
}

int32_t CStitchDesign::GetOutputCount() const {
  if (outputCount_ > 0) return outputCount_;
  return record_ ? record_->PairCount() : 0;
}

int32_t CStitchDesign::GetColorCount() const { return record_ ? record_->ColourCount() : 0; }

uint8_t* CStitchDesign::AddPart(int16_t colour, uint16_t stitch) {
  return parts_.AddPart(colour, stitch, MaskBytes());
}

uint8_t* CStitchDesign::AddPartWithSettings(int16_t colour, uint16_t stitch, const SatinSettings& settings) {
  return parts_.AddPartWithSettings(colour, stitch, MaskBytes(), settings);
}

void CStitchDesign::Clear() {
  record_.reset();
  baseCopy_.clear();
  pairCount_ = 0;
  error_ = kDesignOk;
  editState_ = kStitchesOnly;
  outputCount_ = 0;
  MeasureExtents();
}

CStitchDesign::Snapshot CStitchDesign::TakeSnapshot() const {
  Snapshot snapshot;
  for (int i = 0; i < parts_.GetCount(); ++i) snapshot.parts.push_back(*parts_.GetPart(i));
  if (record_) snapshot.record = std::make_unique<StitchRecord>(*record_);
  snapshot.baseCopy = baseCopy_;
  snapshot.pairCount = pairCount_;
  snapshot.outputCount = outputCount_;
  snapshot.editState = editState_;
  return snapshot;
}

void CStitchDesign::RestoreSnapshot(Snapshot snapshot) {
  parts_.RemoveAll();
  for (PartRecord& part : snapshot.parts) parts_.Append(std::make_unique<PartRecord>(std::move(part)));
  record_ = std::move(snapshot.record);
  baseCopy_ = std::move(snapshot.baseCopy);
  pairCount_ = snapshot.pairCount;
  outputCount_ = snapshot.outputCount;
  editState_ = snapshot.editState;
  MeasureExtents();
}

void CStitchDesign::ResetStitches() {
  baseCopy_.clear();
  if (record_) {
    record_->Clear();
  } else {
    record_ = std::make_unique<StitchRecord>(StitchRecord::kPictorelStitchRoom);
  }
  pairCount_ = 0;
  MeasureExtents();
}

void CStitchDesign::AttachStitches(std::unique_ptr<StitchRecord> record) {
  baseCopy_.clear();
  record_ = std::move(record);
  pairCount_ = record_ ? record_->PairCount() : 0;
  editState_ = kStitchesOnly;
  MeasureExtents();
}

void CStitchDesign::TakeBaseCopy() {
  if (!record_ || !baseCopy_.empty()) return;
  // The stream through its end pair: the pair count kept with the design may be one of an
  // earlier stream (a Make Stitch run writes the record, not this count).
  const std::size_t stitchBytes =
      std::min(2 * static_cast<std::size_t>(GetStitchCount()), record_->StitchRoom());
  const auto bytes = record_->Bytes().first(StitchRecord::kHeadSize + stitchBytes);
  baseCopy_.assign(bytes.begin(), bytes.end());
}

void CStitchDesign::RestoreBaseCopy() {
  if (!record_ || baseCopy_.empty()) return;
  const std::span<uint8_t> bytes = record_->Bytes();
  std::copy(baseCopy_.begin(), baseCopy_.end(), bytes.begin());
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(baseCopy_.size()), bytes.end(), uint8_t{0});
  pairCount_ = GetStitchCount();
}

int32_t CStitchDesign::ApplyModify(int flip, int angleDegrees, int sizePercent) {
  if (!record_) return 0;
  if (baseCopy_.empty()) {
    TakeBaseCopy();
  } else {
    RestoreBaseCopy();
  }
  MakeStitchTransformer transformer(record_->StitchRoom());
  int32_t pairs = GetStitchCount();
  if (flip != 0 || angleDegrees % 360 != 0) pairs = transformer.Transform(record_->StitchArea(), flip, angleDegrees);
  if (pairs > 0 && sizePercent != 100 && sizePercent != 0) {
    pairs = transformer.Scale(record_->StitchArea(), sizePercent);
  }
  if (pairs <= 0) {
    RestoreBaseCopy();
    MeasureExtents();
    return -1;
  }
  record_->SetPairCount(pairs);
  record_->SetStitchDataOffset(static_cast<int32_t>(StitchRecord::kHeadSize));
  pairCount_ = pairs;
  outputCount_ = 0;
  editState_ = kStitchesModified;
  MeasureExtents();
  return pairs;
}

void CStitchDesign::MeasureExtents() {
  const int startX = workWidth_ * 5 / 4;
  const int startY = workHeight_ * 5 / 4;
  DrawnExtents extents{startX, startY, startX, startY};
  // A record without an end pair (a fresh one) holds nothing to sew.
  if (record_ && PairsThroughEnd(record_->StitchArea().first(2 * static_cast<std::size_t>(kMaxDesignPairs))) > 0) {
    WalkDesignSteps(record_->StitchArea(), GetStitchCount(), std::max(record_->ColourCount(), 1), startX, startY,
                    [&](const StitchStep& s) {
                      extents.left = std::min(extents.left, s.toX);
                      extents.top = std::min(extents.top, s.toY);
                      extents.right = std::max(extents.right, s.toX);
                      extents.bottom = std::max(extents.bottom, s.toY);
                    });
  }
  drawnExtents_ = extents;
}

bool CStitchDesign::IsInsideHoop() const {
  const DrawnExtents& e = drawnExtents_;
  const double right = 2.5 * workWidth_;
  const double bottom = 2.5 * workHeight_;
  if (workWidth_ < kLargeWorkWidth) {
    constexpr int kMargin = 7;
    return e.left >= -kMargin && e.top >= -kMargin && e.right <= right + kMargin &&
           e.bottom <= bottom + kMargin;
  }
  return e.left >= 0 && e.top >= 0 && e.right <= right + 1 && e.bottom <= bottom + 1;
}

int CStitchDesign::Read(std::span<const uint8_t> file) {
  record_ = std::make_unique<StitchRecord>(StitchRecord::kPictorelStitchRoom);
  baseCopy_.clear();
  parts_.RemoveAll();
  error_ = kDesignOk;
  editState_ = kStitchesOnly;
  extensionVersion_ = 0;
  outputCount_ = 0;
  pairCount_ = 0;

  if (file.size() < kQnfHeaderSize) return error_ = kDesignBadHeader, 0;
  const uint8_t* head = file.data();
  const int32_t headerPairs = platform::ReadI32(head + qnf::kPairCount);
  if (platform::ReadI32(head + qnf::kStitchDataOffset) < static_cast<int32_t>(kQnfHeaderSize) ||
      headerPairs < 0) {
    return error_ = kDesignBadHeader, 0;
  }
  if (headerPairs > kMaxDesignPairs) return error_ = kDesignTooManyStitchesOnRead, 0;
  // The head keeps the header as the file has it.
  std::copy_n(head, kQnfHeaderSize, record_->Bytes().begin());
  SetHoop(platform::ReadI32(head + qnf::kHoopCode));

  const int32_t colours = platform::ReadI32(head + qnf::kColourCount);
  if (colours < 1 || colours > design::kMaxColours) return error_ = kDesignBadColourCount, 0;
  // The stitches follow the colour table: an offset that points anywhere else lies.
  if (platform::ReadI32(head + qnf::kStitchDataOffset) != design::QnfStitchDataOffset(colours)) {
    return error_ = kDesignBadHeader, 0;
  }
  std::size_t at = kQnfHeaderSize;
  const std::size_t tableBytes = 8 * static_cast<std::size_t>(colours);
  if (file.size() - at < tableBytes) return error_ = kDesignShortRead, 0;
  for (int i = 0; i < colours; ++i) {
    record_->SetThreadCode(i, platform::ReadI32(&file[at + 4 * static_cast<std::size_t>(i)]));
    record_->SetThreadType(i, platform::ReadI32(&file[at + 4 * static_cast<std::size_t>(colours + i)]));
  }
  at += tableBytes;
  record_->SetStitchDataOffset(static_cast<int32_t>(StitchRecord::kHeadSize));

  // The stitches are counted from the stream itself, through its end pair: the header's pair
  // count may lie either way. Room for the parts block's head is read behind them.
  const std::size_t limitBytes = 2 * static_cast<std::size_t>(kMaxDesignPairs);
  const std::size_t got = std::min(limitBytes + PartsExtension::kHeadBytes, file.size() - at);
  if (got == 0) return error_ = kDesignShortRead, 0;
  std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(at), got, record_->Stitches());
  const long pairs = PairsThroughEnd(record_->StitchArea().first(std::min(got, limitBytes)));
  if (pairs < 0) {
    // No end pair: a stream longer than a design may be, or one cut short.
    return error_ = got > limitBytes ? kDesignTooManyStitchesOnRead : kDesignShortRead, 0;
  }
  // A colour change past the colour table would sew with a thread the file never named.
  if (CountColourBlocks(record_->StitchArea().first(2 * static_cast<std::size_t>(pairs))) > colours) {
    return error_ = kDesignBadColourCount, 0;
  }
  pairCount_ = static_cast<int32_t>(pairs);
  record_->SetPairCount(pairCount_);
  // The record keeps the stitches and the parts block's 16-byte head behind them, no more.
  const std::size_t kept = std::min(got, 2 * static_cast<std::size_t>(pairs) + PartsExtension::kHeadBytes);
  std::fill(record_->Stitches() + kept, record_->Stitches() + got, uint8_t{0});
  ReadExtension(file, at + 2 * static_cast<std::size_t>(pairs));
  MeasureExtents();
  return 1;
}

void CStitchDesign::ReadExtension(std::span<const uint8_t> file, std::size_t extensionAt) {
  std::array<uint8_t, PartsExtension::kHeadBytes> headBytes{};
  if (extensionAt < file.size()) {
    const std::size_t n = std::min(headBytes.size(), file.size() - extensionAt);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(extensionAt), n, headBytes.begin());
  }
  const PartsExtension head = ReadExtensionHead(headBytes);
  extensionVersion_ = head.version;
  const std::size_t payloadAt = extensionAt + PartsExtension::kHeadBytes;
  const std::size_t available = payloadAt < file.size() ? file.size() - payloadAt : 0;

  if (head.version == PartsExtension::kOlderBlock) {
    // Kept in the record behind the end pair and its 16 bytes; nothing reads it further.
    const std::size_t endAt = 2 * static_cast<std::size_t>(pairCount_) + PartsExtension::kHeadBytes;
    const std::size_t n = std::min(PartsExtension::kOlderBlockBytes, available);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(payloadAt), n, record_->Stitches() + endAt);
    editState_ = kNothingMade;
    return;
  }
  if (head.version != PartsExtension::kVersion) return;
  const std::size_t raw = head.rawLength;
  const std::size_t packed = head.packedLength;
  if (raw > kMaxRawLength || packed > raw || packed > available) return;

  // The payload's last 12 bytes may lie past R (files whose R left them out): they read as 0.
  std::vector<uint8_t> payload(raw + PartsExtension::kPayloadHeadBytes, 0);
  const auto input = file.subspan(payloadAt, packed);
  if (UnpackBytes(input, payload, raw) == 0) return;
  if (LoadParts(payload)) editState_ = kPartsRead;
}

bool CStitchDesign::LoadParts(std::span<const uint8_t> payload) {
  if (payload.size() < PartsExtension::kPayloadHeadBytes) return false;
  const int32_t count = platform::ReadI32(&payload[0]);
  const int32_t width = platform::ReadI32(&payload[4]);
  const int32_t height = platform::ReadI32(&payload[8]);
  if (count < 0 || count > kMaxParts || !IsWorkSize(width, height)) return false;
  const std::size_t maskBytes = PartMaskBytes(width, height);
  const std::size_t parts = static_cast<std::size_t>(count);
  const std::size_t codesAt = PartsExtension::kPayloadHeadBytes;
  const std::size_t bodiesAt = codesAt + 4 * parts;
  const std::size_t bodyBytes = maskBytes + PartsExtension::kSatinBytes;
  if (bodiesAt + parts * bodyBytes > payload.size()) return false;

  parts_.RemoveAll();
  // The hoop kind stays the header's; the masks are as large as the payload says.
  workWidth_ = width;
  workHeight_ = height;
  for (std::size_t i = 0; i < parts; ++i) {
    const uint32_t code = platform::ReadU32(&payload[codesAt + 4 * i]);
    const auto colour = static_cast<int16_t>(code >> 16);
    const auto stitch = static_cast<uint16_t>(code & 0xFFFF);
    const uint8_t* body = &payload[bodiesAt + i * bodyBytes];
    uint8_t* mask = stitch == kSatinCode
                        ? parts_.AddPartWithSettings(colour, stitch, maskBytes, GetSatin(body + maskBytes))
                        : parts_.AddPart(colour, stitch, maskBytes);
    std::copy_n(body, maskBytes, mask);
  }
  return true;
}

std::error_code CStitchDesign::ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& file) {
  return platform::ReadFileHead(path, file, kMaxFileBytes);
}

bool CStitchDesign::ReadFile(const std::filesystem::path& path) {
  std::vector<uint8_t> file;
  if (ReadFileBytes(path, file)) {
    ShowPictorelMessage("Stitch File Read Error");
    return false;
  }
  Read(file);
  return true;
}

std::size_t CStitchDesign::BuildQnfImage(int32_t pairs, std::vector<uint8_t>& out) {
  out.clear();
  if (!record_ || pairs <= 0) return 0;
  const std::size_t pairLimit = std::min(static_cast<std::size_t>(pairs), record_->StitchRoom() / 2);
  const uint8_t* source = record_->Stitches();

  std::vector<uint8_t> stitches;
  stitches.reserve(2 * pairLimit);
  std::vector<int32_t> colours{record_->ThreadCode(0)};
  int block = 0;
  int x = 0, y = 0, minX = 0, minY = 0, maxX = 0, maxY = 0;
  // y grows downwards here, the way the extents are stored.
  auto copyMove = [&](const uint8_t* pair) {
    stitches.insert(stitches.end(), pair, pair + 2);
    x += design::PairDx(pair);
    y -= design::PairDy(pair);
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  };
  for (std::size_t i = 0; i < pairLimit;) {
    const uint8_t* pair = source + 2 * i;
    if (!design::IsControl(pair)) {
      copyMove(pair);
      ++i;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) {
      stitches.insert(stitches.end(), pair, pair + 2);
      break;
    }
    const bool takesMove = code == design::kColourChange || design::IsJumpCode(code);
    if (!takesMove) {  // a marker or an unknown code: the two bytes alone are dropped
      ++i;
      continue;
    }
    if (i + 1 >= pairLimit) break;
    if (code == design::kColourChange) {
      if (++block >= design::kMaxColours) return 0;  // more blocks than a file's table holds
      const int32_t next = record_->ThreadCode(block);
      if (editState_ == kStitchesFromParts && next == colours.back()) {
        copyMove(pair + 2);  // parts of one colour in a row sew as one block
        i += 2;
        continue;
      }
      colours.push_back(next);
    }
    // A jump of either code keeps its code, so that its move is never sewn as a stitch.
    stitches.insert(stitches.end(), pair, pair + 2);
    copyMove(pair + 2);
    i += 2;
  }

  const std::size_t n = colours.size();
  const auto copied = static_cast<int32_t>(stitches.size() / 2);
  out.assign(kQnfHeaderSize + 8 * n + stitches.size(), 0);
  uint8_t* p = out.data();
  platform::WriteI32(p + qnf::kStitchDataOffset, design::QnfStitchDataOffset(static_cast<int32_t>(n)));
  platform::WriteI32(p + qnf::kFlags, kQnfFlags);
  const platform::LocalTime t = platform::GetClock().Now();
  char date[32];
  std::snprintf(date, sizeof date, "%4d%02d%02d%02d%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                t.hour % 100, t.minute % 100, t.second % 100);
  std::memcpy(p + qnf::kDateText, date, 14);
  platform::WriteI32(p + qnf::kColourCount, static_cast<int32_t>(n));
  platform::WriteI32(p + qnf::kPairCount, copied);
  platform::WriteI32(p + qnf::kHoopCode, hoopKind_);
  const design::Extents e{-minX, -minY, maxX, maxY};
  platform::WriteI32(p + qnf::kExtents, e.left);
  platform::WriteI32(p + qnf::kExtents + 4, e.top);
  platform::WriteI32(p + qnf::kExtents + 8, e.right);
  platform::WriteI32(p + qnf::kExtents + 12, e.bottom);
  PutMargins(p + qnf::kStandardHoopMargins, MarginsWithin(design::kStandardHoopHalf, design::kStandardHoopHalf, e));
  PutMargins(p + qnf::kSmallHoopMargins, MarginsWithin(design::kSmallHoopHalf, design::kSmallHoopHalf, e));
  const design::MarginBlock large = MarginsWithin(design::kLargeHoopHalfWidth, design::kLargeHoopHalfHeight, e);
  PutMargins(p + qnf::kLargeHoopMargins, large);
  PutMargins(p + qnf::kLargeHoopMarginsCopy, large);
  uint8_t* codes = p + qnf::kColourTables;
  for (std::size_t i = 0; i < n; ++i) {
    platform::WriteI32(codes + 4 * i, colours[i]);
    platform::WriteI32(codes + 4 * (n + i), design::kThreadTypeStandard);
  }
  std::copy(stitches.begin(), stitches.end(), codes + 8 * n);
  outputCount_ = copied;
  return out.size();
}

std::size_t CStitchDesign::WriteExtension(std::vector<uint8_t>& out) const {
  const std::size_t count = static_cast<std::size_t>(parts_.GetCount());
  const std::size_t maskBytes = MaskBytes();
  const std::size_t bodyBytes = maskBytes + PartsExtension::kSatinBytes;
  // The whole payload is packed and counted in R, its last 12 bytes too, so that the last
  // part's satin records come back as they were written.
  std::vector<uint8_t> payload(PartsExtension::kPayloadHeadBytes + count * (4 + bodyBytes), 0);
  platform::WriteI32(&payload[0], static_cast<int32_t>(count));
  platform::WriteI32(&payload[4], workWidth_);
  platform::WriteI32(&payload[8], workHeight_);
  const std::size_t bodiesAt = PartsExtension::kPayloadHeadBytes + 4 * count;
  for (std::size_t i = 0; i < count; ++i) {
    const PartRecord& part = *parts_.GetPart(static_cast<int>(i));
    const uint32_t code = (uint32_t{static_cast<uint16_t>(part.colour)} << 16) | part.stitch;
    platform::WriteU32(&payload[PartsExtension::kPayloadHeadBytes + 4 * i], code);
    uint8_t* body = &payload[bodiesAt + i * bodyBytes];
    std::copy_n(part.mask.begin(), std::min(part.mask.size(), maskBytes), body);
    PutSatin(body + maskBytes, part.satin);
  }

  const std::size_t headAt = out.size();
  out.resize(headAt + PartsExtension::kHeadBytes + PackedBytesBound(payload.size()));
  uint8_t* head = &out[headAt];
  std::copy(PartsExtension::kMagic.begin(), PartsExtension::kMagic.end(), head);
  head[7] = PartsExtension::kVersion;
  const std::size_t packed =
      PackBytes(std::span(out).subspan(headAt + PartsExtension::kHeadBytes), payload);
  platform::WriteU32(head + 8, static_cast<uint32_t>(payload.size()));
  platform::WriteU32(head + 12, static_cast<uint32_t>(packed));
  out.resize(headAt + PartsExtension::kHeadBytes + packed);
  return PartsExtension::kHeadBytes + packed;
}

int CStitchDesign::Write(std::vector<uint8_t>& out) {
  out.clear();
  if (!record_) return 0;
  const long pairs =
      PairsThroughEnd(record_->StitchArea().first(2 * static_cast<std::size_t>(kMaxDesignPairs)));
  // Without an end pair within the limit the file could not be written whole.
  if (pairs < 0) return error_ = kDesignTooManyStitchesOnWrite, 0;
  pairCount_ = static_cast<int32_t>(pairs);
  if (BuildQnfImage(pairCount_, out) == 0) return error_ = kDesignBadColourCount, 0;
  // Stitches changed by Modify Stitch no longer follow the parts, and an older parts block
  // cannot be written back: both are saved as a plain design.
  if (editState_ == kPartsRead || editState_ == kStitchesFromParts) WriteExtension(out);
  return 1;
}

bool CStitchDesign::WriteFile(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  if (Write(bytes) == 0) return false;
  return !platform::WriteWholeFile(path, bytes);
}

}  // namespace digitizer
