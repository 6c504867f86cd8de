// The session's quorpad carrying out command lines.
#include "app/handover.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <exception>

#include "app/program.h"
#include "app/templaterequests.h"
#include "common/errortext.h"
#include "common/modal.h"
#include "editor/frmMain.h"

namespace {

// Files handed over, opened one at a time once no question or menu is open (a question
// asked while one opens, the save question say, holds the rest until it is answered).
class OpenQueue : public QObject {
 public:
  using QObject::QObject;

  void add(const QString& path) {
    waiting_ << path;
    // From the event loop, never from within the hand-over: the later start gets its answer
    // and ends at once, while a question the open asks (the save question) waits here.
    QTimer::singleShot(0, this, [this] { next(); });
  }

 private:
  void next() {
    if (!opening_ && !waiting_.isEmpty()) WhenNoModal(this, [this] { openFirst(); });
  }

  void openFirst() {
    if (opening_ || waiting_.isEmpty()) return;
    const QString path = waiting_.takeFirst();
    opening_ = true;
    try {
      MainWindow().openFromOutside(path);
    } catch (const std::exception&) {
      // The engine's error is told as everywhere; anything else (memory, say) leaves the
      // file unopened, and the program goes on.
      const Failure failure = ReadFailure(std::current_exception());
      const bool engine = failure.kind == Failure::Kind::kEngine;
      Modal().message(
          LoadedMainWindow(), kAppTitle,
          engine ? failure.text
                 : QCoreApplication::translate("HandOver", "Could not open the file %1\n\n%2")
                       .arg(path, failure.message),
          engine ? QMessageBox::Critical : QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    }
    opening_ = false;
    next();
  }

  QStringList waiting_;  // oldest first
  bool opening_ = false;
};

// The program's queue, which lives as long as the application.
OpenQueue& Queue() {
  static QPointer<OpenQueue> queue;
  if (!queue) queue = new OpenQueue(qApp);
  return *queue;
}

// A later start's run: the main window back on screen, loaded again where it had closed;
// false, with `reply` saying why, when its load fails.
bool BringBackWindow(HandOverReply& reply) {
  try {
    // Back on screen, also after Exit left the program running for an open dialog.
    MainWindow().bringToFront();
    return true;
  } catch (const std::exception&) {
    // Whatever stops the window's load (the store, memory) is told to the later start.
    reply.status = 1;
    reply.errors = QStringLiteral("quorpad: ") +
                   ErrorText(std::current_exception(),
                             QCoreApplication::translate("HandOver",
                                                         "the main window could not be loaded: ")) +
                   QLatin1Char('\n');
    return false;
  }
}

}  // namespace

void OpenWhenFree(const QString& path) {
  Queue().add(path);
}

QString LeftOutFilesText(const CommandLine& command) {
  if (command.files.size() < 2) return QString();
  return QCoreApplication::translate("HandOver",
                                     "quorpad: edits one file at a time; opened %1, left out: %2\n")
      .arg(command.files.first(), command.files.mid(1).join(QStringLiteral(", ")));
}

bool AnsweredAtOnce(const CommandLine& command) {
  return command.action == CommandLine::Action::kHelp ||
         command.action == CommandLine::Action::kVersion ||
         command.action == CommandLine::Action::kError;
}

HandOverReply CarryOut(const CommandLine& command, const StartWindow& start) {
  HandOverReply reply;
  switch (command.action) {
    case CommandLine::Action::kHelp:
      reply.output = command.text;
      return reply;
    case CommandLine::Action::kVersion:
      reply.output = VersionText();
      return reply;
    case CommandLine::Action::kError:
      reply.status = ExitStatus(command);
      reply.errors = command.text;
      return reply;
    case CommandLine::Action::kList:
      return ListTemplates();
    case CommandLine::Action::kCopy:
      if (start && !(TemplateExists(command.templateName, reply) && start(reply))) return reply;
      return CopyTemplate(command.templateName);
    case CommandLine::Action::kPick:
      // Without a running quorpad this start shows the picker itself and ends when done.
      return PickTemplate(command, bool(start));
    case CommandLine::Action::kRun:
      break;
  }
  if (!(start ? start(reply) : BringBackWindow(reply))) return reply;
  if (!command.files.isEmpty()) OpenWhenFree(command.files.first());
  reply.errors = LeftOutFilesText(command);
  return reply;
}

HandOverReply RunHandedOver(const HandOverRequest& request) {
  return CarryOut(ParseCommandLine(request.arguments, request.workingFolder));
}
