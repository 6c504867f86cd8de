// A main window of the test's own for the editor's tests: made and loaded as the program
// makes it, but wired to no dialog, so that these tests link the editor alone.
#pragma once

#include <QPointer>
#include <memory>

#include "editor/frmMain.h"
#include "testsupport/guitest.h"

namespace guitest {

inline QPointer<frmMain>& OwnMainWindowSlot() {
  static QPointer<frmMain> window;
  return window;
}

// The test's main window if it is loaded, else nullptr.
inline frmMain* LoadedOwnMainWindow() {
  return OwnMainWindowSlot().data();
}

// The test's main window, created and loaded (not shown) on first use and again after it
// was closed (keeping recovery copies when `keepRecoveryCopies`); no window is left when its
// load step throws.
inline frmMain& OwnMainWindow(bool keepRecoveryCopies = false) {
  QPointer<frmMain>& slot = OwnMainWindowSlot();
  if (!slot) {
    auto window = std::make_unique<frmMain>(keepRecoveryCopies);
    window->Form_Load();
    slot = window.release();
  }
  return *slot;
}

// The test's main window, loaded, shown, active and exposed.
inline frmMain& ShownOwnMainWindow() {
  frmMain& window = OwnMainWindow();
  ShowExposed(window);
  return window;
}

// Ends the test's main window and every other window the test left behind.
inline void CloseOwnWindows() {
  delete LoadedOwnMainWindow();
  CloseWindows();
}

}  // namespace guitest
