// The program's windows: each one's program-wide instance, how they are wired together,
// start-up, and the program's end.
#pragma once

class QString;
class frmAbout;
class frmConfig;
class frmMain;
class frmManage;

// The main window if it is loaded, else nullptr.
frmMain* LoadedMainWindow();
// The main window, created and loaded (not shown) on first use and again after it was
// closed. Throws templates::EngineError when its load step fails; no window is left then.
frmMain& MainWindow();

// The dialogs' program-wide instances, loaded on first use and again after they closed.
frmManage& ManageDialog();
frmManage* LoadedManageDialog();
frmAbout& AboutDialog();
frmAbout* LoadedAboutDialog();
frmConfig& ConfigDialog();
frmConfig* LoadedConfigDialog();

// Shows a dialog modeless, or brings it forward when it is open; the manager gets the focus.
void ShowManageDialog();
void ShowAboutDialog();
void ShowConfigDialog();
// Opens the manager preset for the empty template slot `index` whose caption is `caption`.
void PresetManagerForSlot(int index, const QString& caption);

// Starts quorpad: loads and shows the main window. When the load fails the reason is shown
// and false comes back, with no window shown.
bool StartQuorpad();
// Offers the unsaved changes that an earlier quorpad left behind, once the event loop runs:
// while the question is open, later starts are answered and commands from the tray find it.
void OfferLeftChangesWhenRunning();

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
// Main windows made from now on keep their document's unsaved changes in recovery copies
// (the program's main window does; a test's only when it asks).
void KeepRecoveryCopies(bool keep);
