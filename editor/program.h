// Program-wide state: the program folder, the main window's one instance, the program's end.
#pragma once

#include <QString>
#include <memory>

#include "template/tmpeng.h"

class frmMain;

// The folder that holds the program; the template store and the settings file live there.
QString ProgramFolder();
// A new template engine on the store in the program folder.
std::unique_ptr<templates::tmpeng> NewEngine();
// Lets tests put the program folder elsewhere.
void SetProgramFolder(const QString& folder);

// The main window if it is loaded, else nullptr.
frmMain* LoadedMainWindow();
// The main window, created and loaded (not shown) on first use and again after it was
// closed. Throws templates::EngineError when its load step fails; no window is left then.
frmMain& MainWindow();

// Starts quorpad: loads and shows the main window, then offers the unsaved changes that an
// earlier quorpad left behind. When the load fails the reason is shown and false comes
// back, with no window shown.
bool StartQuorpad();

// Ends the program for a signal that asks it to (SIGTERM, SIGHUP, SIGINT): the main window
// keeps its unsaved changes in their recovery copy and takes its tray icon down, and the
// event loop ends with status 0.
void EndBySignal();
// Whether the program is ending so.
bool EndingBySignal();

// Ends the program when its last window has closed: the main window is gone and no dialog
// is open. A main window hidden in the tray keeps the program alive, and so does a dialog
// left open after Exit.
void EndWithLastWindow();
