// The command line: what a start of quorpad asks for, read without touching any window or store.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
  enum class Action {
    kRun,      // start, or hand the files to the running quorpad
    kHelp,     // print `text` to standard output, end with status 0
    kVersion,  // print the versions to standard output, end with status 0
    kError,    // print `text` to standard error, end with status 2
    kList,     // print the template names, one a line (answered by the running quorpad)
    kCopy,     // put the template `templateName` on the clipboard (likewise)
    kPick,     // the picker as a window of its own, pasting into the window that had the keyboard
  };
  Action action = Action::kRun;
  // The files named, as absolute clean paths, in the order given. quorpad edits one document
  // at a time and opens the first; the others are reported as left out.
  QStringList files;
  // Start a process of its own, neither handing over to a running quorpad nor taking calls.
  bool newInstance = false;
  // The help text, or the reason for an error followed by the usage.
  QString text;
  // The template that --copy names.
  QString templateName;
  // For --pick: whether to paste (--no-paste: no), and the paste key (--paste-key).
  bool paste = true;
  QString pasteKey = QStringLiteral("ctrl+v");
};

// Reads `arguments` (the program's name first, as argv has it). Relative file names are taken
// from `workingFolder`; "file:" URLs name local files. Pure: needs no application object.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder);

// The exit status that goes with a command line that ends the program at once.
int ExitStatus(const CommandLine& command);

// The program's and the engine's version lines, as the About box shows them, one per line.
QString VersionText();
