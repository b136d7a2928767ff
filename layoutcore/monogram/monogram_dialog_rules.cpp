#include "layoutcore/monogram/monogram_dialog_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "design/qnf_exporter.h"
#include "design/thread_colors.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace editor {

namespace {

const MonogramDialogConstants kStandardDialog{
    159, "Monogram (Standard Hoop)", kStandardHoopLettering, {30, 30}, {191, 191}, 220, 220, 221, 221};
const MonogramDialogConstants kLargeDialog{
    181, "Monogram (Large Hoop)", kLargeHoopLettering, {30, 30}, {250, 370}, 280, 400, 281, 401};

// A dropped letter's left and top edges are pushed back to here.
constexpr int32_t kPushLeftTop = 2;
constexpr double kDegreesPerRadian = 57.29577951471995;
constexpr double kRadiansPerDegree = 0.017453292519444445;
constexpr int kFullTurn = 360;
constexpr unsigned char kBackspace = 8;
constexpr int kGuideSegments = 64;

int monoNameCounter = 0;

int32_t PointerAngle(MonogramPoint p, MonogramPoint centre) {
  return static_cast<int32_t>(std::atan2(p.y - centre.y, p.x - centre.x) * kDegreesPerRadian);
}

void FillDisc(platform::Canvas& canvas, MonogramPoint c, int radius, platform::PaletteColour colour) {
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
    canvas.FillRect({c.x - half, c.y + dy, c.x + half + 1, c.y + dy + 1}, colour);
  }
}

}  // namespace

const MonogramDialogConstants& MonogramConstantsFor(MonogramDialogKind kind) {
  return kind == MonogramDialogKind::kStandardHoop ? kStandardDialog : kLargeDialog;
}

std::vector<std::string> ListMonogramFonts(const std::filesystem::path& folder) {
  return ListMonogramFontNames(folder);
}

double MonogramPreviewScale(int previewHeight, int availableScreenHeight) {
  if (previewHeight <= 0) return kMonogramPreviewScale;
  const double fits = static_cast<double>(availableScreenHeight - kMonogramDialogFrameHeight) / previewHeight;
  return std::clamp(fits, 1.0, kMonogramPreviewScale);
}

void MonogramDialogRules::ResetNameCounter() { monoNameCounter = 0; }

MonogramDialogRules::MonogramDialogRules(MonogramDialogKind kind, std::string program)
    : MonogramDialogRules(MonogramConstantsFor(kind), std::move(program)) {}

MonogramDialogRules::MonogramDialogRules(const MonogramDialogConstants& constants, std::string program)
    : constants_(constants), program_(std::move(program)), engine_(constants_.hoop) {}

bool MonogramDialogRules::TakeRecord(const MonogramDialogInput& input) {
  record_ = input.record;
  return record_ != nullptr;
}

bool MonogramDialogRules::MakeDesign() { return engine_.MakeStitches(*record_, outputBlock_); }

std::filesystem::path MonogramDialogRules::SaveStartFolder() const {
  const platform::Profile profile(program_);
  std::filesystem::path folder = profile.GetString(kMonoQnfSection, kMonoQnfKey, programFolder_.string());
  if (folder.empty()) folder = programFolder_;
  return folder;
}

bool MonogramDialogRules::WriteDesign(const std::filesystem::path& path) const {
  const std::vector<uint8_t> image = design::QnfFileImage(*record_);
  return !image.empty() && !platform::WriteWholeFile(path, image);
}

void MonogramDialogRules::RememberSaveFolder(const std::filesystem::path& path) const {
  std::string parent = path.parent_path().string();
  if (!parent.empty()) parent += '/';
  platform::Profile(program_).WriteString(kMonoQnfSection, kMonoQnfKey, parent);
}

bool MonogramDialogRules::Init(const MonogramDialogInput& input) {
  const std::vector<std::string> fonts = ListMonogramFonts(input.programFolder);
  if (fonts.empty()) {
    platform::MessageBox(nullptr, kNoFontFileText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  if (!TakeRecord(input)) {
    platform::MessageBox(nullptr, kNoRecordText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  programFolder_ = input.programFolder;
  name_ = input.name;
  layoutType_ = std::clamp(input.layoutType, 0, 2);
  engine_.SetFonts(input.programFolder, fonts);
  engine_.threadCode = input.threadCode;
  engine_.stitchTotal = 0;

  const bool reEdit = !input.text.empty();
  if (reEdit) {
    engine_.threadCode = input.inputBlock.ThreadCode();
    engine_.fontIndex = input.inputBlock.Font();
    engine_.spacingIndex = input.inputBlock.Spacing();
  } else {
    const platform::Profile profile(program_);
    engine_.fontIndex = profile.GetInt(kMonogramSection, kFontTypeKey, 0);
    engine_.spacingIndex = profile.GetInt(kMonogramSection, kFontSpaceKey, 1);
  }
  if (engine_.fontIndex < 0 || static_cast<std::size_t>(engine_.fontIndex) >= fonts.size()) engine_.fontIndex = 0;
  if (engine_.spacingIndex < 0 || engine_.spacingIndex >= kSpacingCount) engine_.spacingIndex = 1;
  fontLoaded_ = engine_.LoadFontHeader();
  ClearSelection();

  editText_ = input.text.substr(0, kMaxLetteringCharacters);
  okEnabled_ = !editText_.empty();
  deleteEnabled_ = deleteAllEnabled_ = false;

  if (!reEdit) {
    engine_.arcPoints = constants_.hoop.arcPoints;
    engine_.linePoints = constants_.hoop.linePoints;
    engine_.mode = LetteringMode::kFree;
    return true;
  }
  const MonogramBlock& block = input.inputBlock;
  for (int i = 0; i < 3; ++i) engine_.arcPoints[static_cast<std::size_t>(i)] = ClampControl(block.ArcPoint(i));
  for (int i = 0; i < 2; ++i) engine_.linePoints[static_cast<std::size_t>(i)] = ClampControl(block.LinePoint(i));
  const int32_t mode = block.Mode();
  if (mode == 1 || mode == 2) {
    layoutType_ = mode;
    engine_.Build(editText_, static_cast<LetteringMode>(mode));
  } else {
    layoutType_ = 0;
    engine_.text = editText_;
    engine_.RestoreFreeGlyphs(block);
  }
  // The letters stand in the preview again: the buttons follow them as after Register.
  AfterBuild();
  return true;
}

platform::PaletteColour MonogramDialogRules::PenColour() const { return design::ThreadCodeToRGB(engine_.threadCode); }

bool MonogramDialogRules::AcceptsCharacter(unsigned char c) const {
  if (c == kBackspace || c == ' ') return true;
  if (c < kFirstFontCharacter) return false;
  return !fontLoaded_ || engine_.Header().HasGlyph(c);
}

MonogramDialogRules::RegisterResult MonogramDialogRules::Register() {
  RegisterResult result;
  engine_.stitchTotal = 0;
  if (layoutType_ < 0 || layoutType_ > 2) return result;
  const BuildResult built = engine_.Build(editText_, static_cast<LetteringMode>(layoutType_));
  editText_ = built.cleanedText;
  if (built.outcome == BuildOutcome::kEmpty) {
    result.focusEdit = true;
    return result;
  }
  if (built.outcome == BuildOutcome::kTooLong) {
    result.selectEditText = true;
    return result;
  }
  if (built.outcome == BuildOutcome::kBuilt) AfterBuild();
  return result;
}

void MonogramDialogRules::AfterBuild() {
  const bool any = !engine_.Glyphs().empty();
  deleteEnabled_ = any && engine_.mode == LetteringMode::kFree;
  deleteAllEnabled_ = any;
  okEnabled_ = any;
  ClearSelection();
}

void MonogramDialogRules::ChooseLayout(int type) { layoutType_ = std::clamp(type, 0, 2); }

void MonogramDialogRules::ChooseFont(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= FontNames().size()) return;
  engine_.fontIndex = index;
  if (engine_.LoadFontHeader()) fontLoaded_ = true;
}

void MonogramDialogRules::ChooseSpacing(int index) {
  if (index >= 0 && index < kSpacingCount) engine_.spacingIndex = index;
}

int MonogramDialogRules::ColourIndex() const { return design::ThreadCodeToIndex(engine_.threadCode); }

void MonogramDialogRules::ChooseColour(int threadIndex) {
  // A lettering whose thread the table does not know opens the colour dialog on no swatch;
  // confirming it without a choice keeps that thread rather than writing code 0.
  const int code = design::ThreadIndexToCode(threadIndex);
  if (code != 0) engine_.threadCode = code;
}

void MonogramDialogRules::Delete() {
  if (!selected_) {
    platform::MessageBox(nullptr, kSelectToDeleteText, kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
    return;
  }
  std::vector<MonogramGlyph>& glyphs = engine_.Glyphs();
  glyphs.erase(glyphs.begin() + static_cast<std::ptrdiff_t>(*selected_));
  ClearSelection();
  if (glyphs.empty()) {
    editText_.clear();
    engine_.text.clear();
    name_.clear();
    deleteEnabled_ = deleteAllEnabled_ = false;
    if (!constants_.deleteKeepsOk) okEnabled_ = false;
    engine_.stitchTotal = 0;
  }
}

void MonogramDialogRules::DeleteAll() {
  editText_.clear();
  engine_.text.clear();
  name_.clear();
  ClearSelection();
  engine_.stitchTotal = 0;
  deleteEnabled_ = deleteAllEnabled_ = false;
  if (!constants_.deleteKeepsOk) okEnabled_ = false;
  engine_.ClearGlyphs();
  engine_.mode = LetteringMode::kFree;
}

void MonogramDialogRules::ClearSelection() {
  selected_.reset();
  grabbedPoint_ = -1;
  dragging_ = false;
}

MonogramPoint MonogramDialogRules::ToGlyphPixels(int x, int y, int width, int height) const {
  // A preview of no size maps nothing: every point is the corner.
  if (width <= 0 || height <= 0) return {};
  const double sx = static_cast<double>(width) / constants_.hoop.previewWidth;
  const double sy = static_cast<double>(height) / constants_.hoop.previewHeight;
  return {static_cast<int32_t>(x / sx + 0.5), static_cast<int32_t>(y / sy + 0.5)};
}

MonogramPoint MonogramDialogRules::ClampControl(MonogramPoint p) const {
  return {std::clamp(p.x, constants_.controlMin.x, constants_.controlMax.x),
          std::clamp(p.y, constants_.controlMin.y, constants_.controlMax.y)};
}

MonogramPoint* MonogramDialogRules::GrabbedPoint() {
  if (grabbedPoint_ < 0) return nullptr;
  if (engine_.mode == LetteringMode::kArc && grabbedPoint_ < 3) return &engine_.arcPoints[static_cast<std::size_t>(grabbedPoint_)];
  if (engine_.mode == LetteringMode::kLine && grabbedPoint_ < 2) return &engine_.linePoints[static_cast<std::size_t>(grabbedPoint_)];
  return nullptr;
}

bool MonogramDialogRules::InRect(const MonogramRect& r, MonogramPoint p) const {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void MonogramDialogRules::LeftDown(MonogramPoint p) {
  if (rotating_) return;
  std::vector<MonogramGlyph>& glyphs = engine_.Glyphs();
  if (engine_.mode == LetteringMode::kArc || engine_.mode == LetteringMode::kLine) {
    const bool arc = engine_.mode == LetteringMode::kArc;
    const int count = arc ? 3 : 2;
    for (int i = 0; i < count; ++i) {
      const MonogramPoint c = arc ? engine_.arcPoints[static_cast<std::size_t>(i)] : engine_.linePoints[static_cast<std::size_t>(i)];
      if (std::abs(p.x - c.x) <= kControlPointTolerance && std::abs(p.y - c.y) <= kControlPointTolerance) {
        grabbedPoint_ = i;
        grabOffset_ = {p.x - c.x, p.y - c.y};
        dragging_ = true;
        break;
      }
    }
  } else if (selected_ && InRect(glyphs[*selected_].rect, p)) {
    grabOffset_ = {p.x - glyphs[*selected_].origin.x, p.y - glyphs[*selected_].origin.y};
    dragging_ = true;
  } else {
    selected_.reset();
    for (std::size_t k = glyphs.size(); k-- > 0;) {
      if (!glyphs[k].IsSpace() && InRect(glyphs[k].rect, p)) {
        selected_ = k;
        grabOffset_ = {p.x - glyphs[k].origin.x, p.y - glyphs[k].origin.y};
        dragging_ = true;
        break;
      }
    }
  }
  leftDown_ = true;
}

void MonogramDialogRules::MoveSelectedBy(int32_t dx, int32_t dy) {
  MonogramGlyph& g = engine_.Glyphs()[*selected_];
  g.origin = {g.origin.x + dx, g.origin.y + dy};
  g.rect = {g.rect.left + dx, g.rect.top + dy, g.rect.right + dx, g.rect.bottom + dy};
}

void MonogramDialogRules::MouseMove(MonogramPoint p) {
  if (rotating_) {
    Rotate(p);
    return;
  }
  if (!leftDown_ || !dragging_) return;
  if (MonogramPoint* point = GrabbedPoint()) {
    *point = ClampControl({p.x - grabOffset_.x, p.y - grabOffset_.y});
    return;
  }
  if (!selected_) return;
  const MonogramGlyph& g = engine_.Glyphs()[*selected_];
  MoveSelectedBy(p.x - grabOffset_.x - g.origin.x, p.y - grabOffset_.y - g.origin.y);
  const MonogramRect& r = engine_.Glyphs()[*selected_].rect;
  outside_ = r.left <= 0 || r.top <= 0 || r.right > constants_.noDropRight || r.bottom > constants_.noDropBottom;
}

void MonogramDialogRules::LeftUp(MonogramPoint p) {
  if (!leftDown_) return;
  if (dragging_) {
    MouseMove(p);
    if (selected_ && grabbedPoint_ < 0) {
      MonogramGlyph& g = engine_.Glyphs()[*selected_];
      int32_t dx = 0, dy = 0;
      if (g.rect.left <= 0) dx = kPushLeftTop - g.rect.left;
      else if (g.rect.right > constants_.pushRight) dx = constants_.pushRight - g.rect.right;
      if (g.rect.top <= 0) dy = kPushLeftTop - g.rect.top;
      else if (g.rect.bottom > constants_.pushBottom) dy = constants_.pushBottom - g.rect.bottom;
      MoveSelectedBy(dx, dy);
      const MonogramPoint turned = OriginFromCentre({0, 0}, g.offset, g.angle);
      g.centre = {g.origin.x - turned.x, g.origin.y - turned.y};
    }
  }
  leftDown_ = false;
  dragging_ = false;
  outside_ = false;
  grabbedPoint_ = -1;
}

void MonogramDialogRules::RightDown(MonogramPoint p) {
  if (leftDown_ || !selected_) return;
  const MonogramGlyph& g = engine_.Glyphs()[*selected_];
  if (!InRect(g.rect, p)) return;
  rotating_ = true;
  grabOffset_ = {p.x - g.origin.x, p.y - g.origin.y};
  lastAngle_ = PointerAngle(p, g.centre);
}

void MonogramDialogRules::Rotate(MonogramPoint p) {
  MonogramGlyph& g = engine_.Glyphs()[*selected_];
  const int32_t angle = PointerAngle(p, g.centre);
  g.angle = (g.angle + angle - lastAngle_) % kFullTurn;
  lastAngle_ = angle;
  g.origin = OriginFromCentre(g.centre, g.offset, g.angle);
  MeasureCharacter(g, engine_.Header().lineUnit);
}

void MonogramDialogRules::RightUp(MonogramPoint p) {
  if (!rotating_) return;
  Rotate(p);
  rotating_ = false;
}

MonogramCursor MonogramDialogRules::Cursor(bool overPreview) const {
  if (rotating_) return MonogramCursor::kRotate;
  if (dragging_ && outside_) return MonogramCursor::kNo;
  if (overPreview) return MonogramCursor::kCross;
  return dragging_ ? MonogramCursor::kNo : MonogramCursor::kDefault;
}

void MonogramDialogRules::DrawGuide(platform::Canvas& canvas, const ArcLayout& layout) const {
  canvas.SetPen(kMonogramGuideColour);
  if (!layout.arc) {
    canvas.MoveTo(layout.lineFrom.x, layout.lineFrom.y);
    canvas.LineTo(layout.lineTo.x, layout.lineTo.y);
    return;
  }
  const ArcGuide& arc = *layout.arc;
  std::vector<platform::CanvasPoint> points;
  for (int i = 0; i <= kGuideSegments; ++i) {
    const double a = arc.startAngle + arc.sweep * i / kGuideSegments;
    points.push_back({static_cast<int>(std::lround(arc.centreX + arc.radius * std::cos(a))),
                      static_cast<int>(std::lround(arc.centreY + arc.radius * std::sin(a)))});
  }
  canvas.Polyline(points);
}

void MonogramDialogRules::Paint(platform::Canvas& canvas) {
  const int w = constants_.hoop.previewWidth;
  const int h = constants_.hoop.previewHeight;
  canvas.FillRect({0, 0, w, h}, platform::kPaletteWhite);
  canvas.SetPen(kMonogramGridColour);
  for (int x = static_cast<int>(w * constants_.gridOriginX) % kMonogramGridStep; x < w; x += kMonogramGridStep) {
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, h);
  }
  for (int y = static_cast<int>(h * constants_.gridOriginY) % kMonogramGridStep; y < h; y += kMonogramGridStep) {
    canvas.MoveTo(0, y);
    canvas.LineTo(w, y);
  }
  if (engine_.mode == LetteringMode::kFree) {
    engine_.DrawGlyphs(canvas, PenColour());
  } else {
    const ArcLayout layout = engine_.PlaceOnPath();
    DrawGuide(canvas, layout);
    engine_.DrawGlyphs(canvas, PenColour());
    if (engine_.mode == LetteringMode::kArc) {
      for (const MonogramPoint& p : engine_.arcPoints) FillDisc(canvas, p, kControlPointRadius, kMonogramPointColour);
    } else {
      for (const MonogramPoint& p : engine_.linePoints) FillDisc(canvas, p, kControlPointRadius, kMonogramPointColour);
    }
  }
  if (selected_) {
    const MonogramRect& r = engine_.Glyphs()[*selected_].rect;
    canvas.SetPen(kMonogramGridColour, 1, platform::PenStyle::kDotted);
    canvas.Rectangle({r.left, r.top, r.right, r.bottom});
  }
}

MonogramOkOutcome MonogramDialogRules::Ok(const MonogramSavePathPrompt& askPath) {
  {
    platform::Profile profile(program_);
    profile.WriteInt(kMonogramSection, kFontTypeKey, engine_.fontIndex);
    profile.WriteInt(kMonogramSection, kFontSpaceKey, engine_.spacingIndex);
  }
  // Nothing to sew (no letters, or only the spaces of a lettering whose letters failed to
  // load): the dialog ends as cancelled rather than hand back an empty design.
  const auto& glyphs = engine_.Glyphs();
  if (std::none_of(glyphs.begin(), glyphs.end(), [](const MonogramGlyph& g) { return !g.IsSpace(); })) {
    return MonogramOkOutcome::kCancelled;
  }
  if (!MakeDesign()) return MonogramOkOutcome::kStay;
  ClearSelection();

  auto counterName = [] {
    char text[32];
    std::snprintf(text, sizeof text, kMonoNamePattern, monoNameCounter);
    return std::string(text);
  };
  std::string defaultName;
  if (!name_.empty()) {
    defaultName = std::filesystem::path(name_).stem().string();
  } else {
    ++monoNameCounter;
    defaultName = counterName();
  }
  const int answer = platform::MessageBox(nullptr, kSaveQuestionText, kConfirmationCaption,
                                          platform::kMbYesNo | platform::kMbIconQuestion);
  if (answer != platform::kIdYes) {
    if (name_.empty()) name_ = counterName();
    return MonogramOkOutcome::kAccepted;
  }
  const std::optional<std::filesystem::path> path = askPath ? askPath(SaveStartFolder(), defaultName) : std::nullopt;
  if (!path) return MonogramOkOutcome::kStay;
  if (!WriteDesign(*path)) {
    platform::MessageBox(nullptr, kSaveFileErrorText, kErrorCaption, platform::kMbOk);
    return MonogramOkOutcome::kStay;
  }
  RememberSaveFolder(*path);
  name_ = path->string();
  return MonogramOkOutcome::kAccepted;
}

}  // namespace editor
