// quorpad's entry point: the application object, the main window, the event loop.
#include <QApplication>

#include "app/program.h"
#include "common/version.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorpad"));
  QApplication::setApplicationVersion(QStringLiteral(QUORPAD_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("quorpad"));
  EndWithLastWindow();
  // A store that cannot be read ends the program before any window shows.
  if (!StartQuorpad()) return 1;
  return QApplication::exec();
}
