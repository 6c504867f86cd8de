// quorpad's entry point: the application object, the main window, the event loop.
#include <QApplication>
#include <csignal>

#include "app/endsignals.h"
#include "app/program.h"
#include "common/version.h"
#include "documents/recovery.h"

int main(int argc, char* argv[]) {
  // A save beyond the user's file size limit fails and is reported like a full disk, instead
  // of ending the program with the text unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorpad"));
  QApplication::setApplicationVersion(QStringLiteral(QUORPAD_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("quorpad"));
  EndWithLastWindow();
  // Unsaved changes survive a crash, a kill and the end of the session in recovery copies;
  // the signals that ask the program to end let it bring the copy up to date first.
  SetRecoveryEnabled(true);
  EndSignals endSignals;
  QObject::connect(&endSignals, &EndSignals::received, &app, [] { EndBySignal(); });
  // A store that cannot be read ends the program before any window shows.
  if (!StartQuorpad()) return EndingBySignal() ? 0 : 1;
  if (EndingBySignal()) return 0;
  return QApplication::exec();
}
