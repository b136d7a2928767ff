#pragma once

// The caption of Pictorel's plain message boxes: the program's title.
namespace digitizer {
inline constexpr const char* kPictorelCaption = "Pictorel";
}  // namespace digitizer
