// Brodera, the design editor of Velinor 7000.

#include <QApplication>
#include <string>
#include <vector>

#include "design/ui/splash_wnd.h"
#include "editor/brodera_app.h"
#include "editor/ui/brodera_application.h"
#include "platform/profile.h"
#include "platform/ui/qt_message_service.h"
#include "platform/ui/quit_after_start.h"
#include "platform/work_folder.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName(editor::kProgramName);
  QApplication::setOrganizationName(platform::kProfileMaker);
  platform_ui::InstallQtMessageService();
  platform_ui::QuitAfterStartWhenAsked();
  platform::SetProgramName(editor::kProgramName);

  std::vector<std::string> args(argv + 1, argv + argc);
  const editor::CommandLineInfo commandLine = editor::ParseCommandLine(args);
  design_ui::CSplashWnd::EnableSplashScreen(commandLine.showSplash);

  // The program folder first: the view copies it when it is made.
  const std::string programFolder = QApplication::applicationDirPath().toStdString() + "/";
  editor_ui::BroderaApplication brodera(programFolder, editor::DefaultWorkFolder());
  // A file on the command line that cannot be read ends the program before its window shows.
  if (!brodera.Start(commandLine)) return 1;
  design_ui::CSplashWnd::ShowSplashScreen(&brodera.Frame(), true);
  return QApplication::exec();
}
