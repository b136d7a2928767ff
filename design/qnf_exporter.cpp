#include "design/qnf_exporter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "platform/message_box.h"

namespace design {

namespace {

constexpr const char* kExporterCaption = "Brodera";

bool AnyNegative(const MarginBlock& m) {
  return m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0;
}

void PutMargins(uint8_t* p, const MarginBlock& m) {
  platform::WriteI32(p, m.left);
  platform::WriteI32(p + 4, m.top);
  platform::WriteI32(p + 8, m.right);
  platform::WriteI32(p + 12, m.bottom);
}

}  // namespace

CQnfExporter::~CQnfExporter() = default;

std::string CQnfExporter::FillHeader(int index, int count, char letter, StitchRecord& out,
                                     const ExportedDesign& design, int hoopKind) const {
  StampHeader(out);
  out.SetBatchLetter(static_cast<uint8_t>(letter));
  out.SetBatchNumber(static_cast<uint8_t>(count - index));  // the last in the list is sent first
  out.SetHoop(hoopKind == kLargeHoop ? kLargeHoop : kStandardHoop);

  const StitchRecord& source = design.working;
  out.SetFlags(source.Flags());
  const int colours = std::clamp(source.ColourCount(), 0, kMaxColours);
  out.SetColourCount(source.ColourCount());
  for (int i = 0; i < colours; ++i) {
    out.SetThreadCode(i, source.ThreadCode(i));
    out.SetThreadType(i, source.ThreadType(i));
  }
  out.SetStitchDataOffset(QnfStitchDataOffset(source.ColourCount()));
  out.SetPairCount(CopyStitches(source.StitchArea(), out.StitchArea()));
  // Measured on the source, before the copy dropped anything.
  out.SetExtents(GetExtents(source.StitchArea()));
  SetHoopFit(out, hoopKind);
  return design.name;
}

int32_t CQnfExporter::CopyStitches(std::span<const uint8_t> source, std::span<uint8_t> target) const {
  std::size_t to = 0;
  for (std::size_t from = 0; from + 2 <= source.size();) {
    const uint8_t* pair = &source[from];
    if (IsControl(pair, kMarker)) {
      // The marker goes, and a plain pair right behind it with it; a control pair behind
      // it (the end pair, a colour change, a jump) is the design's own and stays.
      from += 2;
      if (from + 2 <= source.size() && !IsControl(&source[from])) from += 2;
      continue;
    }
    const std::size_t item = StreamItemBytes(pair);
    if (from + item > source.size() || to + item > target.size()) return 0;
    std::memcpy(&target[to], pair, item);
    to += item;
    from += item;
    if (IsControl(pair, kEnd)) return static_cast<int32_t>(to / 2);
  }
  return 0;
}

Extents CQnfExporter::GetExtents(std::span<const uint8_t> stitches) const {
  // A jump's move and a colour change's pair count as plain pairs.
  return ExtentsFromFirstPoint(stitches);
}

void CQnfExporter::SetHoopFit(StitchRecord& record, int hoopKind) const {
  const Extents e = record.GetExtents();
  record.SetSmallHoopMargins(MarginBlock{});

  MarginBlock standard{kStandardHoopHalf - e.left, kStandardHoopHalf - e.top,
                       kStandardHoopHalf - e.right, kStandardHoopHalf - e.bottom};
  if (hoopKind == kLargeHoop || AnyNegative(standard)) standard = MarginBlock{};
  record.SetStandardHoopMargins(standard);

  MarginBlock large;
  if (FitsLargeHoop(e)) {
    large = MarginBlock{kLargeHoopHalfWidth - e.left, kLargeHoopHalfHeight - e.top,
                        kLargeHoopHalfWidth - e.right, kLargeHoopHalfHeight - e.bottom};
  }
  record.SetLargeHoopMargins(large);
  record.SetLargeHoopMarginsCopy(large);
}

void CQnfExporter::StampHeader(StitchRecord& record) const {
  const platform::LocalTime t = platform::GetClock().Now();
  char digits[32];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  std::memcpy(record.DateText(), digits, 14);
}

std::vector<uint8_t> QnfFileImage(const StitchRecord& record) {
  using platform::WriteI32;
  const int32_t colours = record.ColourCount();
  const int32_t pairs = record.PairCount();
  if (colours < 1 || colours > kMaxColours || pairs < 1 ||
      static_cast<std::size_t>(pairs) * 2 > record.StitchRoom()) {
    return {};
  }
  std::vector<uint8_t> image(kQnfHeaderSize + 8 * static_cast<std::size_t>(colours) +
                             2 * static_cast<std::size_t>(pairs));
  uint8_t* p = image.data();
  WriteI32(p + qnf_offset::kStitchDataOffset, record.StitchDataOffset());
  WriteI32(p + qnf_offset::kFlags, record.Flags());
  std::memcpy(p + qnf_offset::kDateText, record.DateText(), kDateTextLength);
  WriteI32(p + qnf_offset::kColourCount, colours);
  WriteI32(p + qnf_offset::kPairCount, pairs);
  WriteI32(p + qnf_offset::kHoopCode, record.Hoop());
  const Extents e = record.GetExtents();
  WriteI32(p + qnf_offset::kExtents, e.left);
  WriteI32(p + qnf_offset::kExtents + 4, e.top);
  WriteI32(p + qnf_offset::kExtents + 8, e.right);
  WriteI32(p + qnf_offset::kExtents + 12, e.bottom);
  PutMargins(p + qnf_offset::kStandardHoopMargins, record.StandardHoopMargins());
  PutMargins(p + qnf_offset::kSmallHoopMargins, record.SmallHoopMargins());
  PutMargins(p + qnf_offset::kLargeHoopMargins, record.LargeHoopMargins());
  PutMargins(p + qnf_offset::kLargeHoopMarginsCopy, record.LargeHoopMarginsCopy());
  uint8_t* codes = p + qnf_offset::kColourTables;
  uint8_t* types = codes + 4 * colours;
  for (int i = 0; i < colours; ++i) {
    WriteI32(codes + 4 * i, record.ThreadCode(i));
    WriteI32(types + 4 * i, record.ThreadType(i));
  }
  std::memcpy(types + 4 * colours, record.Stitches(), 2 * static_cast<std::size_t>(pairs));
  return image;
}

bool CQnfExporter::WriteFile(const StitchRecord& record, const std::filesystem::path& path) const {
  bool failureShown = false;
  return WriteFile(record, path, failureShown);
}

bool CQnfExporter::WriteFile(const StitchRecord& record, const std::filesystem::path& path,
                             bool& failureShown) const {
  failureShown = false;
  const std::vector<uint8_t> image = QnfFileImage(record);
  if (image.empty()) return false;
  platform::OutputFile file;
  if (file.Create(path)) return false;  // not created: nothing written, nothing shown
  std::error_code error = file.Write(image);
  if (!error) error = file.Close();
  if (!error) return true;
  if (!platform::IsNotFound(error)) {
    platform::MessageBox(nullptr, "File Error", kExporterCaption, platform::kMbOk);
    failureShown = true;
  }
  file.Discard();
  return false;
}

std::error_code DeleteTempFile(const std::filesystem::path& path) {
  return platform::RemoveFile(path);
}

}  // namespace design
