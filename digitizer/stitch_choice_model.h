#pragma once

// The rules of the four dialogs that choose a thread colour and a fill type with its
// parameter: Stitch (the setting for new parts), Thread Color (the current colour), Fill
// (weaves, cross stitch and satin for a region) and Line (zigzags and straight stitch for a
// line). The window shows this state and forwards clicks, typing and spin moves by control id.
//
// Parameters: the diagonal weave's angle in degrees; the zigzag width and the straight
// stitch length in millimetres (the stitch code keeps them x 10 in its high byte).

#include <optional>
#include <string>

#include "digitizer/edit_parts_model.h"
#include "digitizer/part_list.h"
#include "platform/canvas.h"

namespace digitizer {

enum class StitchDialogKind { kStitch, kThreadColor, kFill, kLine };

// Control ids the windows route by.
namespace stitch_dialog_id {
constexpr int kHweave = 1056;  // .. kTweave 1060: fill types 0..4
constexpr int kTweave = 1060;
constexpr int kDweave = 1057;
constexpr int kZzLine = 1128;  // .. kZsLine 1132: fill types 5..9
constexpr int kZsLine = 1132;
constexpr int kAngleCheck = 1052;
constexpr int kAngleEdit = 1054;
constexpr int kAngleSpin = 1055;
constexpr int kWidthCheck = 1068;
constexpr int kWidthEdit = 1069;
constexpr int kWidthSpin = 1070;
constexpr int kLengthCheck = 1065;
constexpr int kLengthEdit = 1066;
constexpr int kLengthSpin = 1067;
constexpr int kFirstColour = 1006;
constexpr int kTab = 1051;
}  // namespace stitch_dialog_id

// What the dialogs open with and hand back.
struct StitchSetting {
  int fillType = 0;
  int angle = 45;                // degrees
  double zigzagWidthMm = 1.4;
  double straightLengthMm = 2.0;
  bool customAngle = false;
  bool customWidth = false;
  bool customLength = false;
  int colourIndex = 0;           // row 0..77 of the thread table
};

// The Setting Satin Stitch dialog, which a satin click in the parts editor's Fill dialog
// opens on a copy of the part's satin columns. True when the user accepted the copy.
class SatinSettingsEditor {
 public:
  virtual ~SatinSettingsEditor() = default;
  virtual bool EditSatin(SatinSettings& settings) = 0;
};

class StitchChoiceModel {
 public:
  static constexpr int kDefaultAngle = 45;
  static constexpr double kDefaultWidthMm = 1.4;
  static constexpr double kDefaultLengthMm = 2.0;
  static constexpr int kMaxAngle = 180;
  static constexpr double kMinLineMm = 1.0;
  static constexpr double kMaxLineMm = 5.0;
  // Spin positions: degrees, and tenths of a millimetre.
  static constexpr int kMinLineSpin = 10;
  static constexpr int kMaxLineSpin = 50;
  static constexpr int kColoursPerPage = 39;
  static constexpr int kColourCount = 78;
  static constexpr std::size_t kMaxEditChars = 10;

  // part and satinEditor: the parts editor's Fill dialog, whose satin click edits the part's
  // satin columns; null elsewhere.
  StitchChoiceModel(StitchDialogKind kind, const StitchSetting& start, PartRecord* part = nullptr,
                    SatinSettingsEditor* satinEditor = nullptr);

  StitchDialogKind Kind() const { return kind_; }
  const char* Caption() const;

  // Each returns true when the event closes the dialog as OK (a double-click).
  bool ClickRadio(int id);
  bool DoubleClickRadio(int id);
  void ClickCheck(int id);
  void MoveSpin(int id, int position);
  void TypeText(int id, const std::string& text);
  // OK: the edits' values, clamped, become the setting.
  void Ok();

  void SelectPage(int page);
  bool ClickColour(int id);
  bool DoubleClickColour(int id);

  const StitchSetting& Setting() const { return setting_; }
  int CheckedRadio() const;
  bool IsChecked(int checkId) const;
  bool IsEnabled(int editId) const;
  const std::string& Text(int editId) const;
  // Where a spin stands: the number in its edit, in degrees or tenths of a millimetre.
  int SpinPosition(int spinId) const;
  int Page() const { return page_; }
  int ColourButtonCount() const;
  // The colour of button id on the current page (all 78 on the Thread Color dialog).
  platform::PaletteColour ButtonColour(int id) const;
  platform::PaletteColour SwatchColour() const;
  std::string ColourName() const;
  std::string FillName() const { return fillName_; }
  int PreviewIcon() const;

 private:
  void UpdateName();
  void ChooseWeave(int type);
  void ChooseLine(int type);
  void SetCheck(int checkId, bool on);
  int ColourIndexOf(int id) const;
  bool HasWeaves() const { return kind_ == StitchDialogKind::kStitch || kind_ == StitchDialogKind::kFill; }
  bool HasLines() const { return kind_ == StitchDialogKind::kStitch || kind_ == StitchDialogKind::kLine; }

  StitchDialogKind kind_;
  StitchSetting setting_;
  PartRecord* part_;
  SatinSettingsEditor* satinEditor_;
  std::string angleText_;
  std::string widthText_;
  std::string lengthText_;
  bool angleEnabled_ = false;
  bool widthEnabled_ = false;
  bool lengthEnabled_ = false;
  int page_ = 0;
  std::string fillName_;
};

// The parts editor hands the Fill and Line dialogs its part's values: a value other than the
// default opens with its custom box ticked, so that OK hands the same value back.
StitchSetting FillDialogStart(const FillStitchChoice& choice);
FillStitchChoice FillDialogResult(const StitchSetting& setting);
StitchSetting LineDialogStart(const LineStitchChoice& choice);
LineStitchChoice LineDialogResult(const StitchSetting& setting);

}  // namespace digitizer
