// Pictorel, the picture digitizer of Velinor 7000.

#include <QApplication>
#include <string>
#include <vector>

#include "design/ui/splash_wnd.h"
#include "digitizer/ui/pictorel_application.h"
#include "platform/command_line.h"
#include "platform/profile.h"
#include "platform/ui/qt_message_service.h"
#include "platform/ui/quit_after_start.h"
#include "platform/work_folder.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName(digitizer_ui::kPictorelProgram);
  QApplication::setOrganizationName(platform::kProfileMaker);
  platform_ui::InstallQtMessageService();
  platform_ui::QuitAfterStartWhenAsked();
  platform::SetProgramName(digitizer_ui::kPictorelProgram);

  const std::vector<std::string> args(argv + 1, argv + argc);
  const platform::CommandLineInfo commandLine = platform::ParseCommandLine(args);
  design_ui::CSplashWnd::EnableSplashScreen(commandLine.showSplash);

  const std::string programFolder = QApplication::applicationDirPath().toStdString() + "/";
  digitizer_ui::PictorelApplication pictorel(programFolder,
                                             platform::WorkFolderOf(digitizer_ui::kPictorelProgram));
  // A file on the command line that cannot be read ends the program before its window shows.
  if (!pictorel.Start(commandLine)) return 1;
  return QApplication::exec();
}
