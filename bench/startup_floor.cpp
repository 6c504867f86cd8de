// The floors of quorpad's start-up: a bare Qt window of the same title and size, shown as
// soon as the application object exists; with --controls, the same window holding only the
// controls the main window shows first (a frame round a text box in the document's font, and
// a status bar with a line of text); with --picker, a window titled as the picker holding
// only its controls (a line with the keyboard, above a list of 13 rows).
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool controls = argc > 1 && std::strcmp(argv[1], "--controls") == 0;
  const bool picker = argc > 1 && std::strcmp(argv[1], "--picker") == 0;
  QMainWindow window;
  window.setWindowTitle(picker ? QStringLiteral("Insert Template") : QStringLiteral("quor - pad"));
  window.resize(580, 348);
  if (controls) {
    auto* frame = new QGroupBox;
    auto* text = new QPlainTextEdit;
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    text->setFont(font);
    (new QVBoxLayout(frame))->addWidget(text);
    window.setCentralWidget(frame);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready")), 1);
  } else if (picker) {
    auto* room = new QWidget;
    auto* layout = new QVBoxLayout(room);
    auto* line = new QLineEdit;
    auto* list = new QListWidget;
    for (int i = 1; i <= 13; ++i) list->addItem(QStringLiteral("Template %1").arg(i));
    layout->addWidget(line);
    layout->addWidget(list);
    window.setCentralWidget(room);
    line->setFocus();
  }
  window.show();
  return app.exec();
}
