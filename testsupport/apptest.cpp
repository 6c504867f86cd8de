// The helpers of the tests that run the whole program.
#include "testsupport/apptest.h"

#include "editor/frmMain.h"
#include "manager/frmManage.h"

namespace guitest {

void CloseAll() {
  delete LoadedManageDialog();
  delete LoadedMainWindow();
  CloseWindows();
}

frmMain& ShownMainWindow() {
  frmMain& w = MainWindow();
  ShowExposed(w);
  return w;
}

}  // namespace guitest
