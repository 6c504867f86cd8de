// The windows' program-wide instances, the wiring between them, and the rule that ends the
// program.
#include "app/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <exception>

#include "common/dialogwindow.h"
#include "common/errortext.h"
#include "common/modal.h"
#include "common/taskbar.h"
#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"

namespace {

bool g_endWithLastWindow = false;
bool g_keepRecoveryCopies = false;
bool g_endingBySignal = false;
QPointer<frmMain> g_main;
// The same window as an object only: compared with while its window parts are being torn
// down, when it can no longer be taken as a frmMain.
QPointer<QObject> g_mainObject;

// The manager refills the main window's slots and tells it the fields switch; the main window comes
// back, hidden and with its tray icon, if Exit closed it, and shows where no notification area
// could bring it back.
void WireManager(frmManage& manager) {
  manager.setSlotsRefill([](templates::tmpeng& engine) {
    frmMain& main = MainWindow();
    main.showIfUnreachable();
    main.refillTemplateSlots(engine);
  });
  QObject::connect(&manager, &frmManage::fieldsSwitched, &manager, [](bool on) {
    if (frmMain* main = LoadedMainWindow()) main->setFieldsOn(on);
  });
}

ProgramWideDialog<frmManage> g_manage(WireManager);
ProgramWideDialog<frmAbout> g_about;
ProgramWideDialog<frmConfig> g_config;

void WireMainWindow(frmMain& window) {
  QObject::connect(&window, &frmMain::aboutRequested, &window, &ShowAboutDialog);
  QObject::connect(&window, &frmMain::configRequested, &window, &ShowConfigDialog);
  QObject::connect(&window, &frmMain::manageRequested, &window, &ShowManageDialog);
  QObject::connect(&window, &frmMain::emptySlotChosen, &window, &PresetManagerForSlot);
}

bool AnyWindowOpen() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible()) continue;
    if (qobject_cast<QDialog*>(w) || qobject_cast<QMainWindow*>(w)) return true;
  }
  return false;
}

void CheckForEnd() {
  if (!g_endWithLastWindow) return;
  QTimer::singleShot(0, qApp, [] {
    if (!LoadedMainWindow() && !AnyWindowOpen()) QCoreApplication::quit();
  });
}

// Looks at every window that hides or goes away, once the event that hid it is done.
class LastWindowWatch : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() == QEvent::Hide || event->type() == QEvent::Close) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
      CheckForEnd();
    }
    return false;
  }
};

}  // namespace

frmMain* LoadedMainWindow() {
  return g_main.data();
}

frmMain& MainWindow() {
  if (g_main) return *g_main;
  auto* window = new frmMain(g_keepRecoveryCopies);
  WireMainWindow(*window);
  try {
    window->Form_Load();
  } catch (...) {
    delete window;
    throw;
  }
  g_main = window;
  g_mainObject = window;
  QObject::connect(window, &QObject::destroyed, qApp, &CheckForEnd);
  return *window;
}

bool StartQuorpad() {
  // Whatever stops the load step is told like the engine's own failures, naming the store;
  // the program then ends in order, never by an abort.
  try {
    MainWindow().show();
    return true;
  } catch (...) {
    const Failure failure = ReadFailure(std::current_exception());
    switch (failure.kind) {
      case Failure::Kind::kEngine:
        Modal().message(nullptr, kAppTitle, failure.text, QMessageBox::Critical, QMessageBox::Ok,
                        QMessageBox::Ok);
        break;
      case Failure::Kind::kMemory:
        ShowStoreFailure(nullptr, QCoreApplication::translate(
                                      "Program", "There is not enough memory to read it."));
        break;
      case Failure::Kind::kOther:
        ShowStoreFailure(nullptr, failure.message);
        break;
      case Failure::Kind::kUnknown:
        ShowStoreFailure(nullptr, QCoreApplication::translate(
                                      "Program", "An unexpected error stopped its reading."));
        break;
    }
  }
  return false;
}

void OfferLeftChangesWhenRunning() {
  QTimer::singleShot(0, qApp, [] {
    if (frmMain* window = LoadedMainWindow(); window && !EndingBySignal()) window->offerRecovery();
  });
}

void EndBySignal() {
  // Another signal right behind the first (a session's end sends SIGHUP after SIGTERM)
  // finds the program ending already.
  if (g_endingBySignal) return;
  g_endingBySignal = true;
  if (frmMain* window = LoadedMainWindow()) window->endBySignal();
  // Every event loop ends, a question's included; a start-up still under way sees
  // EndingBySignal() instead.
  QCoreApplication::exit(0);
}

bool EndingBySignal() {
  return g_endingBySignal;
}

void KeepRecoveryCopies(bool keep) {
  g_keepRecoveryCopies = keep;
}

void EndWithLastWindow() {
  // Qt's own rule would end the program when a dialog closes while the main window sits
  // hidden in the tray.
  QApplication::setQuitOnLastWindowClosed(false);
  g_endWithLastWindow = true;
  static LastWindowWatch* watch = nullptr;
  if (!watch) {
    watch = new LastWindowWatch(qApp);
    qApp->installEventFilter(watch);
  }
  // A dialog that closes hands the front and the keyboard back to the window it came from,
  // the manager's Done and About's OK to the main window.
  HandBackWhenDialogsClose([] { return LoadedMainWindow(); });
}

frmManage& ManageDialog() {
  return g_manage.get();
}
frmManage* LoadedManageDialog() {
  return g_manage.loaded();
}
frmAbout& AboutDialog() {
  return g_about.get();
}
frmAbout* LoadedAboutDialog() {
  return g_about.loaded();
}
frmConfig& ConfigDialog() {
  return g_config.get();
}
frmConfig* LoadedConfigDialog() {
  return g_config.loaded();
}

void ShowManageDialog() {
  frmManage& dialog = ManageDialog();
  BringForward(dialog);
  // The keyboard goes to the control that had it (the name, when an empty slot preset the
  // dialog), else to the first in the dialog's order: never to the dialog itself, where
  // typing reaches nothing.
  QWidget* control = dialog.focusWidget();
  for (QWidget* w = dialog.nextInFocusChain(); !control && w && w != &dialog;
       w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&dialog)) control = w;
  }
  if (control && control != &dialog) control->setFocus(Qt::OtherFocusReason);
}
void ShowAboutDialog() {
  BringForward(AboutDialog());
}
void ShowConfigDialog() {
  BringForward(ConfigDialog());
}

void PresetManagerForSlot(int index, const QString& caption) {
  ManageDialog().presetForSlot(index, caption);
  ShowManageDialog();
}
