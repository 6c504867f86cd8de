// Another program for the --pick run: a window titled TITLE ("paste target" unless given)
// with a text box that writes what it holds to the file given, at every change, so that the
// run can read what the window received.
//
//   pastetarget FILE [TITLE]
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString path = QString::fromLocal8Bit(argv[1]);
  QPlainTextEdit box;
  box.setWindowTitle(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("paste target"));
  box.resize(400, 200);
  QObject::connect(&box, &QPlainTextEdit::textChanged, &box, [&box, path] {
    QFile file(path + QStringLiteral(".new"));
    if (!file.open(QIODevice::WriteOnly) || file.write(box.toPlainText().toUtf8()) < 0) return;
    file.close();
    QFile::remove(path);
    file.rename(path);
  });
  box.show();
  return app.exec();
}
