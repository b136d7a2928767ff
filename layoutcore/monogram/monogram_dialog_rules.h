#pragma once

// The rules of the two monogram dialogs (standard hoop and large hoop): the font and
// spacing choices and what the profile remembers of them, the layout type, building the
// letters, dragging free letters and the line and arc control points, turning a letter with
// the right button, Delete and Delete All, the preview's picture, and OK with the offer to
// save the lettering as a design file. Points are glyph-bitmap pixels (preview pixels,
// 0.5 mm, y down). The Qt dialog shows this state and forwards input to it.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design/stitch_record.h"
#include "layoutcore/monogram/lettering_engine.h"
#include "platform/canvas.h"

namespace editor {

enum class MonogramDialogKind { kStandardHoop, kLargeHoop };

struct MonogramDialogConstants {
  int dialogId;
  const char* caption;
  const LetteringHoop& hoop;
  MonogramPoint controlMin, controlMax;  // control points are kept within
  int32_t pushRight, pushBottom;         // a dropped free letter is pushed back inside
  int32_t noDropRight, noDropBottom;     // beyond these the "no" cursor shows while dragging
  // Where the grid lines cross, as a share of the glyph bitmap's width and height.
  double gridOriginX = 0.5, gridOriginY = 0.5;
  // Delete and Delete All leave OK enabled (OK with no letters still ends as cancelled).
  bool deleteKeepsOk = false;
};

const MonogramDialogConstants& MonogramConstantsFor(MonogramDialogKind kind);

inline constexpr const char* kMonogramSection = "Monogram";
inline constexpr const char* kFontTypeKey = "FontType";
inline constexpr const char* kFontSpaceKey = "FontSpace";
// The folders section the layout document keeps its own folders in too.
inline constexpr const char* kMonoQnfSection = "Design Path";
inline constexpr const char* kMonoQnfKey = "MonoQnf";
inline constexpr const char* kNoFontFileText = "Monogram data file does not exist.";
inline constexpr const char* kNoRecordText = "There is not enough memory!";
inline constexpr const char* kSelectToDeleteText = "Select a charactor to be deleted.";
inline constexpr const char* kSaveQuestionText = "Save current design?";
inline constexpr const char* kConfirmationCaption = "Confirmation";
inline constexpr const char* kSaveFileErrorText = "File Error";
inline constexpr const char* kSpacingNames[kSpacingCount] = {"Narrow", "Normal", "Wide"};
inline constexpr const char* kMonoNamePattern = "Mono%04d";
inline constexpr const char* kMonoSaveFilter = "stitch data(*.qnf)|*.qnf|";
inline constexpr const char* kMonoSaveExtension = "qnf";

// Preview colours: the grid and selection frame grey, the guide blue, the control points red.
constexpr platform::PaletteColour kMonogramGridColour = platform::PaletteRgb(192, 192, 192);
constexpr platform::PaletteColour kMonogramGuideColour = platform::PaletteRgb(0, 0, 255);
constexpr platform::PaletteColour kMonogramPointColour = platform::PaletteRgb(255, 0, 0);
constexpr int kMonogramGridStep = 20;
constexpr int kControlPointRadius = 3;
constexpr int kControlPointTolerance = 3;

// The font names: every "*.mnf" file of the folder (any case) without its extension, in
// the fixed order of ListMonogramFontNames.
std::vector<std::string> ListMonogramFonts(const std::filesystem::path& folder);

// The preview shows the glyph bitmap twice its size where the screen has room for it; on a
// lower screen (1366 x 768) it is shrunk, never below the bitmap's own size, so that the
// whole dialog with its frame and title stays on the screen.
constexpr double kMonogramPreviewScale = 2.0;
constexpr int kMonogramDialogFrameHeight = 110;  // title bar, group box and margins
double MonogramPreviewScale(int previewHeight, int availableScreenHeight);

struct MonogramDialogInput {
  std::string name;           // the lettering's design name when edited again
  std::filesystem::path programFolder;
  std::string text;           // non-empty: edit the lettering again
  int32_t layoutType = 0;     // 0 free, 1 line, 2 arc
  int32_t threadCode = 1;
  design::StitchRecord* record = nullptr;  // the caller's, filled on OK
  MonogramBlock inputBlock;
};

enum class MonogramCursor { kDefault, kCross, kNo, kRotate };

enum class MonogramOkOutcome { kAccepted, kCancelled, kStay };

// Asks where to save the lettering: the folder to start in and the default file name;
// nothing when the user cancels.
using MonogramSavePathPrompt =
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& folder,
                                                       const std::string& defaultName)>;

class MonogramDialogRules {
 public:
  MonogramDialogRules(MonogramDialogKind kind, std::string program);
  // A dialog of another program's hoop; constants must outlive the rules.
  MonogramDialogRules(const MonogramDialogConstants& constants, std::string program);
  virtual ~MonogramDialogRules() = default;

  const MonogramDialogConstants& Constants() const { return constants_; }
  MonogramEngine& Engine() { return engine_; }
  const MonogramEngine& Engine() const { return engine_; }

  // False: the message was shown and the dialog ends as cancelled.
  bool Init(const MonogramDialogInput& input);

  // ---- what the controls show ----
  const std::vector<std::string>& FontNames() const { return engine_.FontNames(); }
  int FontSelection() const { return engine_.fontIndex; }
  int SpacingSelection() const { return engine_.spacingIndex; }
  int LayoutType() const { return layoutType_; }
  const std::string& EditText() const { return editText_; }
  bool OkEnabled() const { return okEnabled_; }
  bool DeleteEnabled() const { return deleteEnabled_; }
  bool DeleteAllEnabled() const { return deleteAllEnabled_; }
  bool SpacingEnabled() const { return layoutType_ == 0; }
  platform::PaletteColour PenColour() const;
  const std::string& Name() const { return name_; }
  const MonogramBlock& OutputBlock() const { return outputBlock_; }
  std::optional<std::size_t> Selected() const { return selected_; }

  // ---- the text edit ----
  // A typed character passes when no font is loaded, it is a space or a backspace, or the
  // font has it. Characters below 32 other than backspace are kept out: no glyph has them.
  bool AcceptsCharacter(unsigned char c) const;
  void SetEditText(std::string text) { editText_ = std::move(text); }

  // ---- commands ----
  struct RegisterResult {
    bool focusEdit = false;
    bool selectEditText = false;
  };
  RegisterResult Register();
  void ChooseLayout(int type);
  void ChooseFont(int index);
  void ChooseSpacing(int index);
  int ColourIndex() const;
  void ChooseColour(int threadIndex);
  void Delete();
  void DeleteAll();

  // ---- the mouse, in glyph-bitmap pixels ----
  // A point on the preview of width x height widget pixels in glyph-bitmap pixels.
  MonogramPoint ToGlyphPixels(int x, int y, int width, int height) const;
  void LeftDown(MonogramPoint p);
  void MouseMove(MonogramPoint p);
  void LeftUp(MonogramPoint p);
  void RightDown(MonogramPoint p);
  void RightUp(MonogramPoint p);
  bool Capturing() const { return leftDown_ || rotating_; }
  MonogramCursor Cursor(bool overPreview) const;

  // The glyph bitmap's picture: white, the grid, the guide, the letters, the control points
  // and the selection frame.
  void Paint(platform::Canvas& canvas);

  MonogramOkOutcome Ok(const MonogramSavePathPrompt& askPath);

  // The "Mono%04d" counter runs for the program's life; tests start it again.
  static void ResetNameCounter();

 protected:
  // What a program changes of OK: taking the caller's record, making the design into it,
  // the save dialog's starting folder, writing the design file and remembering its folder.
  // WriteDesign false: "File Error" is shown and the dialog stays open.
  virtual bool TakeRecord(const MonogramDialogInput& input);
  virtual bool MakeDesign();
  virtual std::filesystem::path SaveStartFolder() const;
  virtual bool WriteDesign(const std::filesystem::path& path) const;
  virtual void RememberSaveFolder(const std::filesystem::path& path) const;
  MonogramBlock& OutputBlockForMaking() { return outputBlock_; }

 private:
  void AfterBuild();
  void ClearSelection();
  void MoveSelectedBy(int32_t dx, int32_t dy);
  void Rotate(MonogramPoint p);
  MonogramPoint ClampControl(MonogramPoint p) const;
  MonogramPoint* GrabbedPoint();
  bool InRect(const MonogramRect& r, MonogramPoint p) const;
  void DrawGuide(platform::Canvas& canvas, const ArcLayout& layout) const;

  const MonogramDialogConstants& constants_;
  std::string program_;
  MonogramEngine engine_;
  design::StitchRecord* record_ = nullptr;
  std::filesystem::path programFolder_;
  std::string name_;
  std::string editText_;
  int layoutType_ = 0;
  bool okEnabled_ = false;
  bool deleteEnabled_ = false;
  bool deleteAllEnabled_ = false;
  MonogramBlock outputBlock_;

  std::optional<std::size_t> selected_;
  MonogramPoint grabOffset_;
  int grabbedPoint_ = -1;  // arc P1..P3 or line L1, L2; -1 none
  bool leftDown_ = false;
  bool rotating_ = false;
  bool dragging_ = false;
  int32_t lastAngle_ = 0;
  bool outside_ = false;
  bool fontLoaded_ = false;
};

}  // namespace editor
