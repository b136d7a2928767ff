#include "hooplayout/ui/vantle_monogram_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "hooplayout/lettering_qnf_file.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/monogram_font_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

struct VantleMonogramDialog : ::testing::Test {
  VantleMonogramDialog() {
    platform::SetProfileRoot(profile.Path());
    hooplayout::VantleMonogramRules::ResetNameCounter();
    const auto hook = vtest::StitchStreamBuilder().Stitch(10, 0).Stitch(0, 10).End().Bytes();
    vtest::MonogramFontBuilder().Glyph('A', hook).Glyph('B', hook).WriteTo(fonts / "Block.mnf");
    input.programFolder = fonts.Path();
    input.record = &record;
  }
  ~VantleMonogramDialog() override { platform::SetProfileRoot({}); }

  vtest::TempDir profile;
  vtest::TempDir fonts;
  vtest::RecordingMessageBox box;
  design::LayoutStitchRecord record;
  hooplayout::VantleMonogramInput input;
};

}  // namespace

TEST_F(VantleMonogramDialog, PortraitPreviewAndSavingTheLettering) {
  hooplayout_ui::CVantleMonogramDlg dialog(nullptr, input);
  ASSERT_TRUE(dialog.Initialised());
  EXPECT_EQ(dialog.windowTitle(), "Monogram");
  EXPECT_EQ(dialog.ColourButton()->text(), "Color");
  // 276 x 396 glyph pixels, at most twice as large, shrunk alike to fit the screen.
  EXPECT_LE(dialog.Preview()->height(), 792);
  EXPECT_NEAR(dialog.Preview()->width() / 276.0, dialog.Preview()->height() / 396.0, 0.01);

  dialog.Edit()->setText("AB");
  dialog.RegisterButton()->click();
  ASSERT_TRUE(dialog.OkButton()->isEnabled());
  dialog.DeleteAllButton()->click();
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.Edit()->setText("AB");
  dialog.RegisterButton()->click();

  vtest::TempDir out;
  std::filesystem::path offered = "unset";
  dialog.SetSavePathPrompt([&](const std::filesystem::path& folder, const std::string&) {
    offered = folder;
    return std::optional<std::filesystem::path>(out / "AB.qnf");
  });
  box.Script({platform::kIdYes});
  dialog.open();
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(dialog.Name(), (out / "AB.qnf").string());
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(out / "AB.qnf", written));
  EXPECT_EQ(written, hooplayout::LetteringQnfImage(record));
}
