// The running quorpad handing its templates to other programs.
#include "templaterequests.h"

#include "app/program.h"
#include "common/errortext.h"
#include "common/programfolder.h"
#include "editor/frmMain.h"
#include "editor/templatelist.h"

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
    Fail(reply,
         ErrorText(std::current_exception(), QStringLiteral("the templates could not be read: ")));
  }
  return false;
}

// The row of template `name` in `list`, or -1 with `reply` saying so.
int Find(TemplateList& list, const QString& name, HandOverReply& reply) {
  const int row = FindByName(list, name);
  if (row < 0)
    Fail(reply, QStringLiteral("no template is called \"%1\" (quorpad --list prints their names)")
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
      reply.errors = QStringLiteral("quorpad: --copy asks nothing, so these fields are empty: ") +
                     shown.join(QStringLiteral(", ")) + QLatin1Char('\n');
    }
  } catch (const std::exception&) {
    Fail(reply, ErrorText(std::current_exception(),
                          QStringLiteral("the main window could not be loaded: ")));
  }
  return reply;
}
