// The main window's program-wide instance and the rule that ends the program.
#include "program.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <exception>
#include <new>

#include "frmMain.h"
#include "modal.h"

namespace {

QString g_programFolder;
bool g_endWithLastWindow = false;
bool g_endingBySignal = false;
QPointer<frmMain> g_main;

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

QString ProgramFolder() {
  return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

std::unique_ptr<templates::tmpeng> NewEngine() {
  // The folder's name in the file system's own bytes, whatever characters it holds.
  return std::make_unique<templates::tmpeng>(
      std::filesystem::path(QFile::encodeName(ProgramFolder()).toStdString()));
}

void SetProgramFolder(const QString& folder) {
  g_programFolder = folder;
}

frmMain* LoadedMainWindow() {
  return g_main.data();
}

frmMain& MainWindow() {
  if (g_main) return *g_main;
  auto* window = new frmMain;
  try {
    window->Form_Load();
  } catch (...) {
    delete window;
    throw;
  }
  g_main = window;
  QObject::connect(window, &QObject::destroyed, qApp, &CheckForEnd);
  return *window;
}

bool StartQuorpad() {
  // Whatever stops the load step is told like the engine's own failures, naming the store;
  // the program then ends in order, never by an abort.
  try {
    frmMain& window = MainWindow();
    window.show();
    window.OfferRecovery();
    return true;
  } catch (const templates::EngineError& error) {
    ShowEngineError(nullptr, error);
  } catch (const std::bad_alloc&) {
    ShowStoreFailure(nullptr, QStringLiteral("There is not enough memory to read it."));
  } catch (const std::exception& error) {
    ShowStoreFailure(nullptr, QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ShowStoreFailure(nullptr, QStringLiteral("An unexpected error stopped its reading."));
  }
  return false;
}

void EndBySignal() {
  g_endingBySignal = true;
  if (frmMain* window = LoadedMainWindow()) window->EndBySignal();
  // Every event loop ends, a question's included; a start-up still under way sees
  // EndingBySignal() instead.
  QCoreApplication::exit(0);
}

bool EndingBySignal() {
  return g_endingBySignal;
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
}
