// What the tests that run the whole program share: its windows' program-wide instances
// shown and ended.
#pragma once

#include "app/program.h"
#include "testsupport/guitest.h"

namespace guitest {

// Ends every window a test left behind, the program-wide main window and manager included.
void CloseAll();
// The program's main window, loaded, shown, active and exposed.
frmMain& ShownMainWindow();

}  // namespace guitest
