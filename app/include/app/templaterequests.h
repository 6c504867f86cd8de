// Templates for other programs: what quorpad answers to --list and --copy NAME.
#pragma once

#include <QString>

#include "app/commandline.h"
#include "app/singleinstance.h"

class TemplateList;

// The template names, one a line in store order, read through an engine of this process.
// A store that cannot be read gives status 1 and the engine's message.
HandOverReply ListTemplates();

// Puts the text of the template called `name` on the clipboard through the main window
// (loaded, not shown, where it is not), so that this process owns it and it outlasts the
// command that asked. Status 1 and a message when no template has that name.
HandOverReply CopyTemplate(const QString& name);

// The picker as a window of its own for another program (--pick). In the running quorpad
// (`alone` false) the window is its own and the command's start ends at once; `alone`, the
// start that asked shows it, and ends once the template is pasted (a moment later, so that
// the program pasted into can take the text) or the pick was ended.
HandOverReply PickTemplate(const CommandLine& command, bool alone);

// Whether the store holds a template called `name`; when not, `reply` says why.
bool TemplateExists(const QString& name, HandOverReply& reply);

// A template name as one line, safe to print on a terminal: a line break or a tab shows as
// a space, so that every name keeps to its own line, and any other control character as
// \xHH, so that a name cannot send the terminal a command.
QString NameLine(QStringView name);
// The names of every template in store order, one a line, as other programs are given them.
QString NameLines(const TemplateList& list);

// The row of the template called `name`: the first whose name is `name` exactly, else the
// first whose name equals it ignoring letter case, else the first whose line in NameLines
// reads `name`; -1 when there is none.
int FindByName(TemplateList& list, const QString& name);
