// Helpers shared by the GUI tests: a store folder of each test's own and message boxes that
// answer themselves.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "editor/frmMain.h"
#include "editor/modal.h"
#include "editor/program.h"
#include "manager/frmManage.h"

namespace guitest {

// Answers every message box at once and notes it as "caption: text", marked " [icon]" when
// it has an icon and " [buttons]" when it offers more than OK. A save prompt is answered No,
// any other box with its default button; file dialogs are cancelled.
class FakeModal : public ModalSeam {
 public:
  QStringList shown;

  QMessageBox::StandardButton message(QWidget*, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    shown << caption + QStringLiteral(": ") + text +
                 (icon == QMessageBox::NoIcon ? "" : " [icon]") +
                 (buttons == QMessageBox::Ok ? "" : " [buttons]");
    return buttons.testFlag(QMessageBox::No) ? QMessageBox::No : defaultButton;
  }
  QString fileName(QWidget*, bool, const QString&, const QString&, const QStringList&) override {
    return QString();
  }
};

// Store bytes written readably: every '|' stands for the field separator, byte 4.
inline QByteArray Rec(QByteArray bytes) {
  return bytes.replace('|', '\x04');
}

// Records "Name i" / "Value i" for i from `first` to `last`.
inline QByteArray Numbered(int first, int last) {
  QByteArray bytes;
  for (int i = first; i <= last; ++i)
    bytes += Rec("1|Name " + QByteArray::number(i) + "|Value " + QByteArray::number(i) + "\r\n");
  return bytes;
}

// A temporary program folder that holds the store.
class StoreFolder {
 public:
  StoreFolder() { SetProgramFolder(dir_.path()); }
  ~StoreFolder() { SetProgramFolder(QString()); }
  QString store() const { return QDir(dir_.path()).filePath(QStringLiteral("templates.dat")); }
  void write(const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly) const {
    QFile file(store());
    QVERIFY(file.open(mode));
    file.write(bytes);
  }
  void append(const QByteArray& bytes) const { write(bytes, QIODevice::Append); }
  QByteArray read() const {
    QFile file(store());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private:
  QTemporaryDir dir_;
};

// Lets posted events and deferred deletions run.
inline void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// Ends every window a test left behind.
inline void CloseAll() {
  delete LoadedManageDialog();
  delete LoadedMainWindow();
  for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  Settle();
}

}  // namespace guitest
