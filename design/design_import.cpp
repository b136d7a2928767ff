#include "design/design_import.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "design/sew_file.h"
#include "design/sew_reader.h"
#include "design/stitch_encoder.h"
#include "platform/file_io.h"

namespace design {

namespace {

// The largest design any hoop takes, 0.1 mm.
constexpr int64_t kMaxDesignWidth = 2 * kLargeHoopHalfWidth;
constexpr int64_t kMaxDesignHeight = 2 * kLargeHoopHalfHeight;

// Only the head of a file is read: as much as the largest sound design of the kind can
// use. Whatever follows (a parts block after a QNF end pair) is never looked at, so a long
// file is no fault of its own.
std::size_t ReadLimit(DesignFileKind kind, const StitchRecord& record) {
  if (kind == DesignFileKind::kSew) return sew_offset::kStitches + kSewStitchLimitBytes;
  return kQnfHeaderSize + 8 * kMaxColours + record.StitchRoom();
}

bool CannotBeOpened(const std::error_code& error) {
  return platform::IsNotFound(error) || error == std::errc::permission_denied ||
         error == std::errc::operation_not_permitted;
}

// Summed in 64 bits: a lying file may carry any extents.
bool ExceedsHoopLimits(const Extents& e) {
  return int64_t{e.left} + e.right > kMaxDesignWidth || int64_t{e.top} + e.bottom > kMaxDesignHeight;
}

// The extents a QNF header claims are only a claim, and a SEW file has none: the design is
// measured as it will be placed, re-centred, from its own stitches.
ImportRefusal CheckSize(StitchRecord& record, const Extents* claimed) {
  const std::optional<Extents> placed = RecentredExtents(record.StitchArea());
  if ((claimed && ExceedsHoopLimits(*claimed)) || (placed && ExceedsHoopLimits(*placed))) {
    record.Clear();
    return ImportRefusal::kExceedsHoopLimits;
  }
  return ImportRefusal::kNone;
}

ImportRefusal CheckQnf(std::span<const uint8_t> file, StitchRecord& record) {
  switch (ReadQnf(file, record, kMaxImportPairs)) {
    case QnfReadStatus::kEmpty:
      return ImportRefusal::kEmpty;
    case QnfReadStatus::kUnsupported:
      return ImportRefusal::kUnsupported;
    case QnfReadStatus::kDefective:
      return ImportRefusal::kDefective;
    case QnfReadStatus::kOk:
      break;
  }
  const Extents claimed = record.GetExtents();
  return CheckSize(record, &claimed);
}

}  // namespace

DesignFileKind DesignFileKindOf(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".qnf") return DesignFileKind::kQnf;
  if (ext == ".sew") return DesignFileKind::kSew;
  return DesignFileKind::kNone;
}

ImportRefusal ReadDesignForImport(const std::filesystem::path& path, DesignFileKind kind,
                                  StitchRecord& record) {
  record.Clear();
  if (kind == DesignFileKind::kNone) return ImportRefusal::kCannotOpen;
  // A folder opens but does not read: it is no file to open.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return ImportRefusal::kCannotOpen;
  std::vector<uint8_t> bytes;
  const std::error_code error = platform::ReadFileHead(path, bytes, ReadLimit(kind, record));
  if (error) return CannotBeOpened(error) ? ImportRefusal::kCannotOpen : ImportRefusal::kFileError;
  if (kind == DesignFileKind::kSew) {
    if (ReadSew(bytes, record) != SewReadStatus::kOk) return ImportRefusal::kDefective;
    return CheckSize(record, nullptr);
  }
  return CheckQnf(bytes, record);
}

bool ExceedsLayoutHoop(const StitchRecord& record, int layoutHoopKind) {
  return layoutHoopKind == 0 && record.Hoop() == kLargeHoop;
}

}  // namespace design
