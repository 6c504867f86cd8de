// The floor of quorpad's start-up: a bare Qt window of the same title and size, shown as soon
// as the application object exists.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("quor - pad"));
  window.resize(580, 348);
  window.show();
  return app.exec();
}
