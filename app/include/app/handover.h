// What the session's quorpad does with a command line: its own, and those of later starts.
#pragma once

#include <QString>
#include <functional>

#include "app/commandline.h"
#include "app/singleinstance.h"

// Opens `path` in the main window as Open does, once no modal question or popup menu is
// open, so that a file that arrives meanwhile never replaces the text under a question.
// Files that arrive together are opened one after another.
void OpenWhenFree(const QString& path);

// The message for the files of `command` beyond the first, which quorpad leaves unopened as
// it edits one document at a time; empty when there are none.
QString LeftOutFilesText(const CommandLine& command);

// Whether `command` is answered where it is given, before a display, the store or a running
// quorpad is asked: help, the versions and a wrong command line.
bool AnsweredAtOnce(const CommandLine& command);

// How the first start puts its main window on screen, which it has yet to load; false, with
// `reply` holding the status to end with, when it could not.
using StartWindow = std::function<bool(HandOverReply& reply)>;

// Carries out `command` and returns what the start that gave it prints and ends with; the
// one place that says what each command does, for the first start and for later ones alike.
// `start` is the first start's own: it brings the window up for a run, and for --copy, whose
// text needs a quorpad that stays to own it, once the template is known to exist, so that a
// wrong name ends the start with no window. Without it the command line is a later start's,
// and a run brings the running window back on screen.
HandOverReply CarryOut(const CommandLine& command, const StartWindow& start = StartWindow());

// Carries out the command line of a later start: shows and raises the main window, also out
// of the tray, and opens the file given.
HandOverReply RunHandedOver(const HandOverRequest& request);
