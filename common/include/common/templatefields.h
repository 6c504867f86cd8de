// Fields in a template's text, filled as the template is inserted: where the caret goes,
// today's date and time, the clipboard's text, the selection the template replaces and
// answers the user types. Off unless the user turns them on for the whole store.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The fields, each between "{:" and ":}" (a pair that HTML, scripts and code templates hardly
// ever hold, so stores written without fields in mind keep their meaning):
//   {:caret:}               where the caret goes after the insertion (the first one counts)
//   {:date:} {:date FMT:}   today's date, yyyy-MM-dd unless FMT (a Qt date format) says else
//   {:time:} {:time FMT:}   the time now, HH:mm unless FMT says else
//   {:clipboard:}           the clipboard's text
//   {:selection:}           the text the insertion replaces
//   {:ask NAME:}            an answer the user types; a NAME used twice takes one answer
// "{::" writes "{:" itself. Anything else between the markers stays exactly as written.

// What fills the fields. A value left unset has nothing to fill its fields with: they are
// left empty and named in FilledTemplate::leftEmpty.
struct FieldValues {
  QDateTime now;
  // Read only where a template uses it: a clipboard owner that is slow to answer costs
  // nothing to the templates that do not.
  std::function<QString()> clipboard;
  std::optional<QString> selection;
  QHash<QString, QString> answers;  // by fill-in name
};

struct FilledTemplate {
  QString text;
  int caret = -1;         // where the caret goes in `text`; -1 for its end
  QStringList leftEmpty;  // the fields left empty, as written ("{:selection:}", "{:ask To:}")
};

// The names of the fill-in fields in `text`, each once, in the order they first appear.
QStringList FillInNames(const QString& text);
// Whether filling changes `text`: it holds a field or an escaped "{::".
bool HoldsFields(const QString& text);
// `text` with its fields filled from `values`.
FilledTemplate FillFields(const QString& text, const FieldValues& values);

// Whether fields are on for the store: the switch in quorpad.ini, off until turned on. Read
// from the file at each call; the window asks once and follows the file's changes.
bool FieldsSwitchedOn();
// Turns the switch on or off in quorpad.ini; the reason it could not, or an empty string.
QString SwitchFields(bool on);
// The settings file that holds the switch.
QString FieldsSwitchFile();

// The clock the date and time fields read: the system's, unless a test has set its own.
QDateTime FieldClock();
void SetFieldClock(std::function<QDateTime()> clock);
