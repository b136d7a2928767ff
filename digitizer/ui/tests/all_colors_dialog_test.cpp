#include "digitizer/ui/all_colors_dialog.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "platform/ui/qt_colour.h"

namespace digitizer_ui {
namespace {

TEST(AllColorsDialog, PlotsEveryPartIntoTheFramePicture) {
  constexpr int kSize = 600;  // shrunk by two into the 300-pixel frame
  const auto& table = design::ExtendedThreadColorTable();
  digitizer::CPartList parts;
  const std::size_t bytes = digitizer::CBitMask(kSize, kSize).PackedBytes();
  uint8_t* mask = parts.AddPart(static_cast<int16_t>(table[3].code), 0, bytes);
  const int rowBytes = digitizer::CBitMask::PackedRowBytes(kSize);
  mask[100 * rowBytes + 200 / 8] = 0x80;  // pixel (200, 100)
  parts.SaveOrder();

  CAllColorsDlg dialog(nullptr, parts, kSize, kSize);
  EXPECT_EQ(dialog.windowTitle(), "All Colors View");
  const QImage& picture = dialog.Frame()->Picture();
  ASSERT_EQ(picture.size(), QSize(300, 300));
  EXPECT_EQ(picture.pixelColor(100, 50), platform_ui::ToQColor(design::GetThreadColor(table[3].code)));
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(220, 220, 220));
}

}  // namespace
}  // namespace digitizer_ui
