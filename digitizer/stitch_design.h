#pragma once

// CStitchDesign: Pictorel's design. The registered parts (each a region mask with a thread
// colour and a fill type) and the stitches made from them, held in one 750,740-byte stitch
// record: the 740-byte head (QNF header, the thread code of each colour block at int index
// 29, the fill type code of each block at int index 107) and the stitch bytes from byte 740,
// dy upwards in 0.1 mm.
//
// On disk the design is a QNF file, which every program reads as an ordinary design up to its
// end pair, followed by the parts block (PartsExtension) that lets Pictorel edit the parts
// again: a 16-byte head, then the run-length packed payload.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>
#include <vector>

#include "design/stitch_record.h"
#include "digitizer/part_list.h"

namespace digitizer {

// The most stitch pairs a Pictorel design may carry, control and end pairs included.
constexpr int32_t kMaxDesignPairs = 250000;

enum DesignError : int {
  kDesignOk = 0,
  kDesignBadHeader = 1,
  kDesignTooManyStitchesOnRead = 3,
  kDesignShortRead = 4,
  kDesignTooManyStitchesOnWrite = 5,
  kDesignBadColourCount = 6,
};

enum DocEditState : int {
  kNothingMade = -1,       // new document, or an older parts block was read
  kStitchesOnly = 0,       // read without parts block, or imported from a SEW file
  kPartsRead = 1,          // parts read from the file's parts block
  kStitchesFromParts = 2,  // stitches made from the parts
  kStitchesModified = 3,   // stitches changed by Modify Stitch
};

// The parts block's 16-byte head.
struct PartsExtension {
  static constexpr std::size_t kHeadBytes = 16;
  static constexpr std::array<uint8_t, 7> kMagic{0x03, 0x01, 0x04, 0x01, 0x05, 0x09, 0x02};
  static constexpr uint8_t kVersion = 0x0A;
  // An older block: its first differing magic byte is a printable character.
  static constexpr int kOlderBlock = -1;
  static constexpr uint8_t kOlderFirst = 21;
  static constexpr uint8_t kOlderLast = 125;
  static constexpr std::size_t kOlderBlockBytes = 1600;
  // count, work width, work height before the per-part fields.
  static constexpr std::size_t kPayloadHeadBytes = 12;
  // Per part: one int32 code, and ten 24-byte satin records behind the mask.
  static constexpr std::size_t kSatinBytes = kSatinColumnsPerPart * 24;
  static constexpr std::size_t kPerPartFixedBytes = 4 + kSatinBytes;

  int version = 0;       // the head test: kVersion, kOlderBlock, or 1 for anything else
  uint32_t rawLength = 0;     // R
  uint32_t packedLength = 0;  // P, end token included
};

// Reads the head test on the 16 bytes after the end pair.
PartsExtension ReadExtensionHead(std::span<const uint8_t, PartsExtension::kHeadBytes> head);

// Bytes of one part's mask for a work area of width x height pixels, rows padded to 16 bits.
std::size_t PartMaskBytes(int width, int height);

// The rectangle the last drawing of the design covered, in view pixels.
struct DrawnExtents {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class CStitchDesign {
 public:
  static constexpr std::size_t kRecordBytes =
      design::StitchRecord::kHeadSize + design::StitchRecord::kPictorelStitchRoom;  // 750,740
  // Work areas in pixels of 0.25 mm.
  static constexpr int kStandardWorkSize = 440;
  static constexpr int kSmallWorkSize = 200;
  static constexpr int kLargeWorkWidth = 560;
  static constexpr int kLargeWorkHeight = 800;
  // Work areas of one part's pixel mask while stitches are made or drawn: 562 x 802 bytes,
  // the large hoop's work area with a one-pixel border.
  static constexpr std::size_t kWorkMaskBytes = 562 * 802;  // 450,724
  // The monochrome bitmap the design is drawn into.
  static constexpr std::size_t kBitmapBitsBytes = 56942;
  // Flags word of every QNF image Pictorel builds.
  static constexpr int32_t kQnfFlags = 10;

  CStitchDesign();
  virtual ~CStitchDesign();
  CStitchDesign(const CStitchDesign&) = delete;
  CStitchDesign& operator=(const CStitchDesign&) = delete;

  // 1 small, 2 large, anything else standard.
  void SetHoop(int hoopKind);
  int HoopKind() const { return hoopKind_; }
  int WorkWidth() const { return workWidth_; }
  int WorkHeight() const { return workHeight_; }
  std::size_t MaskBytes() const { return PartMaskBytes(workWidth_, workHeight_); }

  // Pairs from the first stitch byte up to and including the end pair; counting stops at
  // kMaxDesignPairs. 0 without a record.
  int32_t GetStitchCount() const;
  int32_t GetOutputCount() const;
  int32_t GetColorCount() const;
  int GetPartCount() const { return parts_.GetCount(); }
  CPartList& GetPartList() { return parts_; }
  const CPartList& GetPartList() const { return parts_; }
  // Each returns the new part's zeroed mask of MaskBytes() bytes.
  uint8_t* AddPart(int16_t colour, uint16_t stitch);
  uint8_t* AddPartWithSettings(int16_t colour, uint16_t stitch, const SatinSettings& settings);
  void ClearParts() { parts_.RemoveAll(); }
  void SaveOrder() { parts_.SaveOrder(); }
  void RestoreOrder() { parts_.RestoreOrder(); }

  // Frees the record; error, state and output count back to 0.
  void Clear();
  // A new, zeroed record; the base copy is freed.
  void ResetStitches();
  // Takes over a record read elsewhere (a SEW import): pair count from its head, state 0.
  void AttachStitches(std::unique_ptr<design::StitchRecord> record);

  design::StitchRecord* Record() { return record_.get(); }
  const design::StitchRecord* Record() const { return record_.get(); }
  std::span<uint8_t> WorkMask(int i) { return i == 0 ? workMaskA_ : workMaskB_; }
  std::span<uint8_t> BitmapBits() { return bitmapBits_; }

  // The parts, the stitches and the state as they stand. A run the user cancels puts them
  // back, so that what is drawn, saved and sent is the design as it was before the run.
  struct Snapshot {
    std::vector<PartRecord> parts;
    std::unique_ptr<design::StitchRecord> record;
    std::vector<uint8_t> baseCopy;
    int32_t pairCount = 0;
    int32_t outputCount = 0;
    int editState = kNothingMade;
  };
  Snapshot TakeSnapshot() const;
  void RestoreSnapshot(Snapshot snapshot);

  // Head and stitches as they were before the first Modify Stitch; empty when none was taken.
  // Sized from the stream itself, through its end pair.
  void TakeBaseCopy();
  std::span<const uint8_t> BaseCopy() const { return baseCopy_; }

  int Error() const { return error_; }
  int EditState() const { return editState_; }
  void SetEditState(int state) { editState_ = state; }
  int ExtensionVersion() const { return extensionVersion_; }
  int32_t PairCount() const { return pairCount_; }
  bool Busy() const { return busy_; }
  void SetBusy(bool busy) { busy_ = busy; }

  // Modify Stitch on finished stitches (made from parts, read from a file or a SEW import):
  // every modify starts again from the base copy (taken at the first one), flips and turns
  // by angleDegrees clockwise (360 - the counter-clockwise rotation; 0 for none), then sizes
  // by sizePercent (100 or 0: unchanged). Result the new pair count; 0 without a record; -1
  // when the modified stitches would not fit the record: the base copy is then back in place.
  int32_t ApplyModify(int flip, int angleDegrees, int sizePercent);

  // The extents of the stitches (0.1 mm from the hoop frame's top-left, y downwards, the
  // first needle position at the hoop centre), measured again from the stream. Every read,
  // clear, Make Stitch and modify does it; the hoop check uses them.
  void MeasureExtents();
  const DrawnExtents& Extents() const { return drawnExtents_; }
  // Replaces the measured extents (tests of the hoop rule).
  void SetDrawnExtents(const DrawnExtents& extents) { drawnExtents_ = extents; }
  bool IsInsideHoop() const;

  // Reads a Pictorel design file's bytes. Result 1 on success, else 0 with the cause in
  // Error() (0 with no error only when the record could not be had).
  int Read(std::span<const uint8_t> file);
  // Reads the file; a file that cannot be read shows "Stitch File Read Error". False only
  // when the file could not be read at all: a malformed file reads as true with Error() set.
  bool ReadFile(const std::filesystem::path& path);
  // A design file's bytes, as far as a design can reach; a file that cannot be read gives
  // the cause, "not found" told apart.
  static std::error_code ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& file);

  // The QNF image and, for parts read or stitches made from them, the parts block. Result 1
  // with the bytes in out, else 0 with out empty (Error() tells why when it is a limit).
  int Write(std::vector<uint8_t>& out);
  // Writes the file whole or not at all; false when nothing could be written.
  bool WriteFile(const std::filesystem::path& path);

  // The QNF image of the first `pairs` pairs into out: 116 + 8n + 2 x copied pairs bytes.
  // Parts of one colour that follow each other are merged when the stitches were made from
  // the parts. 0 when the stitches hold more colour blocks than a file carries.
  std::size_t BuildQnfImage(int32_t pairs, std::vector<uint8_t>& out);

  // The parts block for the current parts, appended to out; returns its length.
  std::size_t WriteExtension(std::vector<uint8_t>& out) const;
  // Loads the parts from an unpacked payload; false (no parts) when the payload contradicts
  // itself or does not fit in what was unpacked.
  bool LoadParts(std::span<const uint8_t> payload);

 private:
  void ReadExtension(std::span<const uint8_t> file, std::size_t extensionAt);
  void RestoreBaseCopy();

  int hoopKind_ = 0;
  int workWidth_ = kStandardWorkSize;
  int workHeight_ = kStandardWorkSize;
  CPartList parts_;
  std::unique_ptr<design::StitchRecord> record_;
  std::vector<uint8_t> baseCopy_;
  int32_t pairCount_ = 0;
  int32_t outputCount_ = 0;
  int error_ = kDesignOk;
  int editState_ = kNothingMade;
  int extensionVersion_ = 0;
  bool busy_ = false;
  DrawnExtents drawnExtents_;
  // Allocated once with the design, at their fixed sizes.
  std::vector<uint8_t> workMaskA_;
  std::vector<uint8_t> workMaskB_;
  std::vector<uint8_t> bitmapBits_;
};

}  // namespace digitizer
