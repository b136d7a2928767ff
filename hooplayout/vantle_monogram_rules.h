#pragma once

// Vantle's one lettering dialog, for the Maxiframe: the large-hoop monogram dialog's rules
// with a portrait 276 x 396 glyph bitmap, the grid crossing left of and above the middle,
// the lettering made into the view's LayoutStitchRecord from its own start points (the view
// re-centres it), OK left enabled by Delete, and the lettering saved as a QNF file by this
// program's own writer, with no remembered save folder.

#include <filesystem>
#include <string>

#include "design/layout_stitch_record.h"
#include "layoutcore/monogram/monogram_dialog_rules.h"

namespace hooplayout {

extern const editor::LetteringHoop kMaxiframeLettering;
extern const editor::MonogramDialogConstants kVantleMonogramConstants;

inline constexpr const char* kVantleProgram = "Tessaly";
inline constexpr const char* kVantleMonogramColourButton = "Color";
inline constexpr const char* kVantleMonoSaveFilter = "Qnf files(*.qnf)|*.qnf|All Files(*.*)|*.*||";
inline constexpr const char* kVantleMonoSaveExtension = "qnf";

// Stitch generation starts here (stitch units, y down in the 1400 x 2000 area): free
// letters from one point, line and arc letters from another.
constexpr editor::NeedlePoint kFreeLetteringStart{175, 260};
constexpr editor::NeedlePoint kPathLetteringStart{710, 915};
// A lettering stream, end pair included, this long or longer does not fit the layout
// record's room for one design.
constexpr std::size_t kLayoutLetteringByteLimit = 123370;

struct VantleMonogramInput {
  std::string name;
  std::filesystem::path programFolder;
  std::string text;
  int32_t layoutType = 0;
  int32_t threadCode = 1;
  design::LayoutStitchRecord* record = nullptr;  // the view's, filled on OK
  editor::MonogramBlock inputBlock;
};

// Makes the lettering into record: one colour, the lettering's thread code, its stitches
// from offset 406 ended by 0x80 0x10, the pair count left for the view. A stitch outside
// the area shows the stitch error; a stream that grows too long through jumps and splits
// fails without a message. False on either.
bool MakeLayoutLettering(editor::MonogramEngine& engine, design::LayoutStitchRecord& record,
                         editor::MonogramBlock& block);

class VantleMonogramRules : public editor::MonogramDialogRules {
 public:
  VantleMonogramRules();

  bool Init(const VantleMonogramInput& input);
  design::LayoutStitchRecord* Record() const { return layoutRecord_; }

 protected:
  bool TakeRecord(const editor::MonogramDialogInput& input) override;
  bool MakeDesign() override;
  std::filesystem::path SaveStartFolder() const override;
  bool WriteDesign(const std::filesystem::path& path) const override;
  void RememberSaveFolder(const std::filesystem::path& path) const override;

 private:
  using editor::MonogramDialogRules::Init;
  design::LayoutStitchRecord* layoutRecord_ = nullptr;
};

}  // namespace hooplayout
