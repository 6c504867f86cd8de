// The running quorpad handing its templates to other programs.
#include "app/templaterequests.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include "app/endsignals.h"
#include "app/program.h"
#include "common/errortext.h"
#include "common/modal.h"
#include "common/programfolder.h"
#include "common/templatefields.h"
#include "common/templatelist.h"
#include "editor/frmMain.h"
#include "editor/pickwindow.h"

// A name as one line for a terminal: line breaks and tabs become spaces, and every other
// control character (C0, DEL, C1) is written as \xHH, so that a name can never move the
// cursor, change colours or send the terminal a command.
QString NameLine(QStringView name) {
  QString line;
  line.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (c == u'\r' && i + 1 < name.size() && name[i + 1] == u'\n') continue;
    if (c == u'\r' || c == u'\n' || c == u'\t' || c == 0x2028 || c == 0x2029)
      line += QLatin1Char(' ');
    else if (c < 0x20 || (c >= 0x7f && c <= 0x9f))
      line += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
    else
      line += QChar(c);
  }
  return line;
}

QString NameLines(const TemplateList& list) {
  QString lines;
  for (int row = 0; row < list.size(); ++row) lines += NameLine(list.name(row)) + u'\n';
  return lines;
}

int FindByName(TemplateList& list, const QString& name) {
  for (int row = 0; row < list.size(); ++row)
    if (list.name(row) == name) return row;
  // The engine takes no name that differs from another only in letter case, so ignoring
  // case still finds one template.
  list.lowerUpTo(list.size());
  const QString lowered = LowerCased(name);
  for (int row = 0; row < list.size(); ++row)
    if (list.lowerName(row) == lowered) return row;
  for (int row = 0; row < list.size(); ++row)
    if (NameLine(list.name(row)) == name) return row;
  return -1;
}

namespace {

void Fail(HandOverReply& reply, const QString& reason) {
  reply.status = 1;
  reply.errors = QStringLiteral("quorpad: ") + reason + QLatin1Char('\n');
}

// Reads every template through `engine` into `list`; false with `reply` set on a failure.
bool ReadTemplates(templates::tmpeng& engine, TemplateList& list, HandOverReply& reply) {
  try {
    engine.Template_LoadA(list);
    return true;
  } catch (const std::exception&) {
    Fail(reply, ErrorText(std::current_exception(),
                          QCoreApplication::translate("TemplateRequests",
                                                      "the templates could not be read: ")));
  }
  return false;
}

// The row of template `name` in `list`, or -1 with `reply` saying so.
int Find(TemplateList& list, const QString& name, HandOverReply& reply) {
  const int row = FindByName(list, name);
  if (row < 0)
    Fail(reply,
         QCoreApplication::translate(
             "TemplateRequests", "no template is called \"%1\" (quorpad --list prints their names)")
             .arg(NameLine(name)));
  return row;
}

}  // namespace

HandOverReply ListTemplates() {
  HandOverReply reply;
  TemplateList list;
  if (ReadTemplates(*NewEngine(), list, reply)) reply.output = NameLines(list);
  return reply;
}

HandOverReply PickTemplate(const CommandLine& command, bool alone) {
  HandOverReply reply;
  PickRequest request;
  request.paste = command.paste;
  QString why;
  if (const std::optional<PasteKeys> keys = ReadPasteKeys(command.pasteKey, why))
    request.keys = *keys;
  // The window to paste into is the one that has the keyboard as the command comes, before
  // a question of quorpad's comes forward.
  request.target = WindowWithKeyboard();
  if (!alone) {
    // After any question quorpad has open, which holds the keyboard until it is answered.
    BringModalForward();
    WhenNoModal(qApp, [request] {
      try {
        MainWindow().pickForAnotherProgram(request);
      } catch (const std::exception&) {
        // The window's load failed: said as the store's failures are, and nothing else.
        ShowStoreFailure(nullptr, ErrorText(std::current_exception()));
      }
    });
    return reply;
  }
  std::unique_ptr<templates::tmpeng> engine;
  try {
    engine = NewEngine();
  } catch (const std::exception&) {
    Fail(reply, ErrorText(std::current_exception(),
                          QCoreApplication::translate("TemplateRequests",
                                                      "the templates could not be read: ")));
    return reply;
  }
  // The text stays this process's on the clipboard until it ends; a clipboard manager, where
  // the desktop has one, keeps it after that.
  QEventLoop loop;
  auto* pick = new PickWindow(*engine, FieldsSwitchedOn(), request, [](const QString& text) {
    QGuiApplication::clipboard()->setText(text);
  });
  QObject::connect(pick, &PickWindow::finished, &loop, [&loop](const QString& text) {
    // The program pasted into asks for the text after the keys have reached it.
    QTimer::singleShot(text.isEmpty() ? 0 : 1500, &loop, &QEventLoop::quit);
  });
  // Asked to end, it ends at once: nothing of the person's is left unsaved.
  EndSignals ending;
  QObject::connect(&ending, &EndSignals::received, &loop, [&loop] {
    CancelModals();  // a fill-in question open ends too
    loop.quit();
  });
  const QPointer<PickWindow> open(pick);
  pick->start();
  loop.exec();
  delete open.data();
  return reply;
}

bool TemplateExists(const QString& name, HandOverReply& reply) {
  TemplateList list;
  return ReadTemplates(*NewEngine(), list, reply) && Find(list, name, reply) >= 0;
}

HandOverReply CopyTemplate(const QString& name) {
  HandOverReply reply;
  try {
    // The text on the clipboard is the main window's own, so that Exit empties it.
    frmMain& window = MainWindow();
    TemplateList list;
    if (!ReadTemplates(*window.Temp, list, reply)) return reply;
    const int row = Find(list, name, reply);
    if (row < 0) return reply;
    const QStringList leftEmpty = window.putTemplateOnClipboard(list.value(row).toString());
    // The text is on the clipboard: a field that needed asking is said, not an error.
    // Each written as --list writes a name, so that none can drive the terminal.
    if (!leftEmpty.isEmpty()) {
      QStringList shown;
      for (const QString& field : leftEmpty) shown << NameLine(field);
      reply.errors =
          QCoreApplication::translate(
              "TemplateRequests", "quorpad: --copy asks nothing, so these fields are empty: %1\n")
              .arg(shown.join(QStringLiteral(", ")));
    }
  } catch (const std::exception&) {
    Fail(reply, ErrorText(std::current_exception(),
                          QCoreApplication::translate("TemplateRequests",
                                                      "the main window could not be loaded: ")));
  }
  return reply;
}
