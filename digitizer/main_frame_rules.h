#pragma once

// What Pictorel's main frame decides without a screen: the window size for a screen width,
// the four status panes, the pictures of the colour-and-stitch bar, the texts of its
// stitch-generation error message, and which design commands are enabled in which state of
// the design.

#include <optional>
#include <string>
#include <utility>

namespace digitizer {

// The private messages posted to the frame.
constexpr int kUwmColorChanged = 0x40A;
constexpr int kUwmStitchChanged = 0x40B;
constexpr int kUwmStitchError = 0x40C;

// What the frame is told by the views: the status panes and the private messages. The picture
// view calls it; the frame implements it.
class MainFrameLink {
 public:
  virtual ~MainFrameLink() = default;
  // A negative value leaves its pane as it is.
  virtual void UpdateStatusPanes(int parts, int colour, int stitchType, int parameter, int mode,
                                 int stitches) = 0;
  // Handled once the current command has finished.
  virtual void PostFrameMessage(int message, int wParam, int lParam) = 0;
};

// The frame's size on a screen this wide; nothing keeps the default size.
std::optional<std::pair<int, int>> FrameWindowSize(int screenWidth);

// Mode pane values.
constexpr int kModeNone = 0;
constexpr int kModeReedit = 1;
constexpr int kModeModify = 2;

class StatusPanes {
 public:
  // colour: a row of the thread-colour table (0..82); stitchType: the fill type's code.
  void Update(int parts, int colour, int stitchType, int parameter, int mode, int stitches);
  void Clear();
  // The text of pane 1..4; empty for any other number.
  const std::string& Text(int pane) const;

 private:
  std::string mode_;
  std::string stitches_;
  std::string parts_;
  std::string setting_;
};

// The bar's stitch picture: the image number and the text drawn over it.
struct StitchPicture {
  int image = 0;
  std::string text;
};
StitchPicture StitchTypePicture(int stitchType, int parameter);

struct StitchErrorMessage {
  const char* text = nullptr;
  const char* caption = nullptr;
  bool stopIcon = false;
};
inline constexpr char kStitchMemoryText[] =
    "Total stitch number of the design exceeds the memory capacity.\n"
    "Reduce the size of the design in the Make Stitch dialog box\n"
    "or delete some of the registered parts.";
inline constexpr char kSatinFailedText[] =
    "There are design parts that failed to convert to satin stitch.\n"
    "Follow these steps :  Click \"Edit Parts\" icon.\n"
    "Click the parts to be corrected and select \"Color/Stitch\".\n"
    "Click \"Satin\" icon and reposition the green and/or red dots.\n"
    "Click \"OK\" twice.";
// wParam 1 and 2 have a message; any other value says nothing (text null).
StitchErrorMessage StitchErrorFor(int wParam);

inline constexpr char kDeleteAllPartsText[] = "Are you sure you want to delete all parts?";
inline constexpr char kDeleteAllPartsCaption[] = "Confirm";

// Whether a design command is enabled for the design's DocEditState.
bool DesignCommandEnabled(int commandId, int editState);

// The hoop kind of a hoop command (0 standard, 1 small, 2 large).
int HoopKindOfCommand(int commandId);
// The stitch view's zoom index (2..9) of a zoom command, the picture view's factor (1..5).
int StitchZoomIndexOf(int commandId);
int BitmapZoomFactorOf(int commandId);

// Modify Stitch turns counter-clockwise as seen; the stitches turn by 360 - rotation.
int ModifyAngleFor(int rotationDegrees);

}  // namespace digitizer
