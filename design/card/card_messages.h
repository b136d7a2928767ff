#pragma once

// The texts and captions of the card dialogs, byte for byte as the users know them.

namespace card {

inline constexpr const char* kConfirmCaption = "Confirm";
inline constexpr const char* kAttentionCaption = "Attention";
inline constexpr const char* kErrorCaption = "Error";

inline constexpr const char* kCardQuestionText =
    "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?\n"
    "Is the Card adapter connected to your PC correctly?";
inline constexpr const char* kNoDriveText =
    "The Card drive is not selected.\nSelect the ATA PC Card's drive.";
inline constexpr const char* kFolderFullText =
    "100 designs are already registered.\nNo design can be registered.";
inline constexpr const char* kFolderFilledText =
    "100 designs have been registered.\nNo more design can be registered.";
inline constexpr const char* kSaveFailedText =
    "Failed to save a design.\n"
    "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?";
inline constexpr const char* kCardChangedText =
    "The ATA PC Card or its designs have changed since the list was read.\n"
    "The list has been read again; nothing was erased or replaced.";
inline constexpr const char* kFileErrorText = "There is an error in a file.\nQuit operation.";

}  // namespace card
