// quorpad's entry point: the application object, the main window, the event loop.
#include <QApplication>
#include <csignal>

#include "app/program.h"
#include "common/version.h"

int main(int argc, char* argv[]) {
  // A save beyond the user's file size limit fails and is reported like a full disk, instead
  // of ending the program with the text unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorpad"));
  QApplication::setApplicationVersion(QStringLiteral(QUORPAD_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("quorpad"));
  EndWithLastWindow();
  // A store that cannot be read ends the program before any window shows.
  if (!StartQuorpad()) return 1;
  return QApplication::exec();
}
