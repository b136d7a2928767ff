// Vantle, the Maxiframe layout program of Velinor 7000.

#include <QApplication>
#include <string>
#include <vector>

#include "design/ui/splash_wnd.h"
#include "platform/command_line.h"
#include "hooplayout/ui/vantle_application.h"
#include "hooplayout/vantle_app.h"
#include "platform/profile.h"
#include "platform/ui/qt_message_service.h"
#include "platform/ui/quit_after_start.h"
#include "platform/work_folder.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName(hooplayout::kAppTitle);
  QApplication::setOrganizationName(platform::kProfileMaker);
  platform_ui::InstallQtMessageService();
  platform_ui::QuitAfterStartWhenAsked();
  platform::SetProgramName(hooplayout::kAppTitle);

  // The command line is read once for the splash window, then for the layout to open.
  std::vector<std::string> args(argv + 1, argv + argc);
  const platform::CommandLineInfo commandLine = platform::ParseCommandLine(args);
  design_ui::CSplashWnd::EnableSplashScreen(commandLine.showSplash);

  const std::string programFolder = QApplication::applicationDirPath().toStdString() + "/";
  hooplayout_ui::VantleApplication vantle(programFolder);
  // A layout on the command line that cannot be read ends the program before its window shows.
  if (!vantle.Start(commandLine)) return 1;
  design_ui::CSplashWnd::ShowSplashScreen(&vantle.Frame(), true, design_ui::kVantleSplashBitmap);
  return QApplication::exec();
}
