// quorpad's entry point: the command line, the session's one quorpad, the main window, the
// event loop.
#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>

#include "app/commandline.h"
#include "app/endsignals.h"
#include "app/handover.h"
#include "app/program.h"
#include "app/singleinstance.h"
#include "common/safepaste.h"
#include "common/version.h"
#include "documents/recovery.h"
#include "templaterequests.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
  if (text.isEmpty()) return;
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
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
  switch (command.action) {
    case CommandLine::Action::kHelp:
      Print(stdout, command.text);
      return ExitStatus(command);
    case CommandLine::Action::kVersion:
      Print(stdout, VersionText());
      return ExitStatus(command);
    case CommandLine::Action::kError:
      Print(stderr, command.text);
      return ExitStatus(command);
    case CommandLine::Action::kRun:
    case CommandLine::Action::kList:
    case CommandLine::Action::kCopy:
      break;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorpad"));
  QApplication::setApplicationVersion(QStringLiteral(QUORPAD_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("quorpad"));
  InstallSafePaste(&app);

  // A quorpad already running in this session takes the command line over.
  SingleInstance instance(SingleInstance::SessionSocketPath());
  if (!command.newInstance) {
    HandOverReply reply;
    QString problem;
    switch (instance.Claim({arguments, workingFolder}, reply, problem)) {
      case SingleInstance::Role::kHandedOver:
        Print(stdout, reply.output);
        Print(stderr, reply.errors);
        return reply.status;
      case SingleInstance::Role::kAlone:
        Print(stderr, QStringLiteral("quorpad: %1; starting on its own\n").arg(problem));
        break;
      case SingleInstance::Role::kFirst:
        if (!problem.isEmpty()) Print(stderr, QStringLiteral("quorpad: %1\n").arg(problem));
        break;
    }
  }

  // No quorpad was running to answer. The names are read here; a template for the
  // clipboard needs a quorpad that stays to own it, so this one starts as the session's.
  if (command.action == CommandLine::Action::kList) {
    const HandOverReply reply = ListTemplates();
    Print(stdout, reply.output);
    Print(stderr, reply.errors);
    return reply.status;
  }
  if (command.action == CommandLine::Action::kCopy) {
    HandOverReply reply;
    if (!TemplateExists(command.templateName, reply)) {
      Print(stderr, reply.errors);
      return reply.status;
    }
  }

  EndWithLastWindow();
  // Unsaved changes survive a crash, a kill and the end of the session in recovery copies;
  // the signals that ask the program to end let it bring the copy up to date first.
  SetRecoveryEnabled(true);
  EndSignals endSignals;
  QObject::connect(&endSignals, &EndSignals::received, &app, [] { EndBySignal(); });
  // A store that cannot be read ends the program before any window shows.
  if (!StartQuorpad()) return EndingBySignal() ? 0 : 1;
  if (EndingBySignal()) return 0;
  if (!command.files.isEmpty()) OpenWhenFree(command.files.first());
  Print(stderr, LeftOutFilesText(command));
  if (command.action == CommandLine::Action::kCopy)
    Print(stderr, CopyTemplate(command.templateName).errors);
  instance.SetHandler(&RunHandedOver);
  return QApplication::exec();
}
