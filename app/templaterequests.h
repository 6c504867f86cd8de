// Templates for other programs: what quorpad answers to --list and --copy NAME.
#pragma once

#include <QString>

#include "app/singleinstance.h"

// The template names, one a line in store order, read through an engine of this process.
// A store that cannot be read gives status 1 and the engine's message.
HandOverReply ListTemplates();

// Puts the text of the template called `name` on the clipboard through the main window
// (loaded, not shown, where it is not), so that this process owns it and it outlasts the
// command that asked. Status 1 and a message when no template has that name.
HandOverReply CopyTemplate(const QString& name);

// Whether the store holds a template called `name`; when not, `reply` says why.
bool TemplateExists(const QString& name, HandOverReply& reply);
