// quorpad's entry point: the command line, the session's one quorpad, the main window, the
// event loop.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#include "app/commandline.h"
#include "app/endsignals.h"
#include "app/handover.h"
#include "app/program.h"
#include "app/singleinstance.h"
#include "common/safepaste.h"
#include "common/version.h"
#include "translations/translations.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
  if (text.isEmpty()) return;
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}

// Prints what the command line's answer holds; its status.
int Answer(const HandOverReply& reply) {
  Print(stdout, reply.output);
  Print(stderr, reply.errors);
  return reply.status;
}

// The first start becoming the session's quorpad, once its command line needs the window.
struct Session {
  explicit Session(SingleInstance& answering) : instance(answering) {}

  SingleInstance& instance;
  std::optional<EndSignals> endSignals;
  bool running = false;

  bool Start(HandOverReply& reply) {
    EndWithLastWindow();
    // Unsaved changes survive a crash, a kill and the end of the session in recovery copies;
    // the signals that ask the program to end let it bring the copy up to date first.
    KeepRecoveryCopies(true);
    endSignals.emplace();
    QObject::connect(&*endSignals, &EndSignals::received, QCoreApplication::instance(),
                     [] { EndBySignal(); });
    // A store that cannot be read ends the program before any window shows.
    if (!StartQuorpad()) {
      reply.status = EndingBySignal() ? 0 : 1;
      return false;
    }
    if (EndingBySignal()) return false;
    // Later starts are answered from here on, the start-up question included; the file given
    // opens once that question has gone.
    instance.setHandler(&RunHandedOver);
    OfferLeftChangesWhenRunning();
    running = true;
    return true;
  }
};

// Without a usable display Qt ends the program with an abort, after logging why in its
// platform categories. While the application object is made, that reason is held back and
// an abort becomes one line naming the display and the reason, and status 1.
QtMessageHandler g_earlierHandler = nullptr;
QString g_platformReason;

void PlatformStartMessages(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (type == QtFatalMsg) {
    // Said in the user's language: the application object exists, though not yet whole.
    if (QCoreApplication* application = QCoreApplication::instance())
      InstallTranslations(*application);
    const bool wayland =
        qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("wayland"));
    const QString display = qEnvironmentVariable(wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    const QString reason =
        g_platformReason.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : g_platformReason;
    Print(stderr, display.isEmpty()
                      ? QCoreApplication::translate(
                            "main", "quorpad: no display to open a window on (%1 is not set): %2\n")
                            .arg(QLatin1String(wayland ? "WAYLAND_DISPLAY" : "DISPLAY"), reason)
                      : QCoreApplication::translate(
                            "main", "quorpad: cannot open a window on the display %1: %2\n")
                            .arg(display, reason));
    std::_Exit(1);
  }
  if (qstrncmp(context.category, "qt.qpa", 6) == 0 && type >= QtWarningMsg) {
    if (g_platformReason.isEmpty()) g_platformReason = message.trimmed();
    return;
  }
  if (g_earlierHandler) g_earlierHandler(type, context, message);
}

// The desktop's font configuration, which the first text of a window needs, read on a thread
// of its own while the application object connects to the display, which takes as long.
// It is waited for before the program goes on, so nothing of it outlives the start-up; where
// no thread can be started, the first text reads it, as without this.
class FontConfigurationBeside {
 public:
  explicit FontConfigurationBeside(bool wanted) {
    if (!wanted) return;
    try {
      reader_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
  }
  ~FontConfigurationBeside() { wait(); }
  FontConfigurationBeside(const FontConfigurationBeside&) = delete;
  FontConfigurationBeside& operator=(const FontConfigurationBeside&) = delete;

  void wait() {
    if (reader_.joinable()) reader_.join();
  }

 private:
  std::thread reader_;
};

// The application object: a GUI one for a window or the clipboard, a plain one where only
// the store is read (--list), which works without a display.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool gui) {
  if (!gui) return std::make_unique<QCoreApplication>(argc, argv);
  g_earlierHandler = qInstallMessageHandler(&PlatformStartMessages);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(g_earlierHandler);
  return app;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A save beyond the user's file size limit fails and is reported like a full disk, instead
  // of ending the program with the text unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  // Help, the versions and a wrong option are answered before anything connects to the
  // display, so they work anywhere and open no window.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const QString workingFolder = QDir::currentPath();
  const CommandLine command = ParseCommandLine(arguments, workingFolder);
  if (AnsweredAtOnce(command)) {
    // Told in the user's language, which needs an application object, though no display.
    QCoreApplication told(argc, argv);
    InstallTranslations(told);
    return Answer(CarryOut(ParseCommandLine(arguments, workingFolder)));
  }

  // From here on the program may have something to keep: a signal that asks it to end is
  // held until the event loop can end it in order.
  if (command.action != CommandLine::Action::kList) EndSignals::catchEarly();
  const bool gui = command.action != CommandLine::Action::kList;
  FontConfigurationBeside fonts(gui);
  const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv, gui);
  fonts.wait();
  QCoreApplication::setApplicationName(QStringLiteral("quorpad"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUORPAD_VERSION));
  InstallTranslations(*app);
  if (gui) {
    QGuiApplication::setDesktopFileName(QStringLiteral("quorpad"));
    InstallSafePaste(app.get());
  }

  // A quorpad already running in this session takes the command line over.
  SingleInstance instance(SingleInstance::sessionSocketPath());
  QObject::connect(
      &instance, &SingleInstance::listeningFailed, app.get(),
      [](const QString& problem) { Print(stderr, QStringLiteral("quorpad: %1\n").arg(problem)); });
  if (!command.newInstance) {
    HandOverReply reply;
    QString problem;
    // A pick on its own is no session's quorpad: it only looks for one to answer it, taking no
    // lock and never listening, so that a later start neither waits for it nor finds it.
    SingleInstance::Role role = SingleInstance::Role::kFirst;
    if (command.action != CommandLine::Action::kPick)
      role = instance.claim({arguments, workingFolder}, reply, problem);
    else if (instance.handOverOnly({arguments, workingFolder}, reply, problem))
      role = SingleInstance::Role::kHandedOver;
    else if (!problem.isEmpty())
      role = SingleInstance::Role::kAlone;
    switch (role) {
      case SingleInstance::Role::kHandedOver:
        return Answer(reply);
      case SingleInstance::Role::kAlone:
        Print(
            stderr,
            QCoreApplication::translate("main", "quorpad: %1; starting on its own\n").arg(problem));
        break;
      case SingleInstance::Role::kFirst:
        if (!problem.isEmpty()) Print(stderr, QStringLiteral("quorpad: %1\n").arg(problem));
        break;
    }
  }

  // No quorpad was running to answer: this one carries the command line out, and starts as
  // the session's where it needs the window.
  Session session(instance);
  const int answered =
      Answer(CarryOut(command, [&session](HandOverReply& reply) { return session.Start(reply); }));
  if (!session.running) return answered;
  const int status = QCoreApplication::exec();
  session.endSignals->ignoreFromNowOn();
  return status;
}
