#pragma once

// Pictorel's plain message boxes: a fixed text under the program's title, an OK button.

#include "platform/message_box.h"

namespace digitizer {

inline constexpr const char* kPictorelCaption = "Pictorel";
// The caption of the warnings that stop a command.
inline constexpr char kAttentionCaption[] = "Attention";

inline void ShowPictorelMessage(const char* text) {
  platform::MessageBox(nullptr, text, kPictorelCaption, platform::kMbOk | platform::kMbIconExclamation);
}

}  // namespace digitizer
