// What the session's quorpad does with a command line: its own, and those of later starts.
#pragma once

#include <QString>

#include "app/commandline.h"
#include "app/singleinstance.h"

// Opens `path` in the main window as Open does, once no modal question or popup menu is
// open, so that a file that arrives meanwhile never replaces the text under a question.
// Files that arrive together are opened one after another.
void OpenWhenFree(const QString& path);

// The message for the files of `command` beyond the first, which quorpad leaves unopened as
// it edits one document at a time; empty when there are none.
QString LeftOutFilesText(const CommandLine& command);

// Carries out the command line of a later start: shows and raises the main window, also out
// of the tray, and opens the file given.
HandOverReply RunHandedOver(const HandOverRequest& request);
