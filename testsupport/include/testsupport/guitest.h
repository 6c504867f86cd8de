// What the GUI tests share: a scriptable stand-in for the modal seam, a fresh program folder
// per test case, file helpers, and ways to let events run and to end every window.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/program.h"
#include "common/modal.h"

namespace guitest {

// Answers the questions from a script and logs what was asked.
//
// A message box takes the next of `buttons`; with none left it gets `unscripted`, and when
// that is NoButton, No where the box offers it, else the box's default button. A file
// dialog takes the next of `files` (an empty string is a cancel); with none left it is
// cancelled.
class ScriptedModal : public ModalSeam {
 public:
  QList<QMessageBox::StandardButton> buttons;
  QStringList files;
  QMessageBox::StandardButton unscripted = QMessageBox::NoButton;
  // Every message box as "caption: text", marked " [icon]" when it has an icon and
  // " [buttons]" when it offers more than OK.
  QStringList shown;
  // Every message box's text and every file dialog's title, in the order asked.
  QStringList asked;

  // Forgets the script and the logs.
  void reset();

  QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons offered,
                                      QMessageBox::StandardButton defaultButton) override;
  QString fileName(QWidget* owner, bool save, const QString& title, const QString& folder,
                   const QStringList& filters) override;
};

// A fresh temporary folder that is the program folder while the object lives.
class StoreFolder {
 public:
  StoreFolder();
  ~StoreFolder();
  QString path() const { return dir_.path(); }
  QString filePath(const QString& name) const { return dir_.filePath(name); }
  QString store() const { return filePath(QStringLiteral("templates.dat")); }
  void write(const QByteArray& bytes) const;
  void append(const QByteArray& bytes) const;
  QByteArray read() const;

 private:
  QTemporaryDir dir_;
};

// The whole file, or `missing` when it cannot be read.
QByteArray ReadAll(const QString& path, const QByteArray& missing = QByteArray());
// Writes the whole file; fails the test when it cannot.
void WriteAll(const QString& path, const QByteArray& bytes);
void AppendAll(const QString& path, const QByteArray& bytes);

// Store bytes written readably: every '|' stands for the field separator, byte 4.
QByteArray Rec(QByteArray bytes);
// Records "Name i" / "Value i" for i from `first` to `last`.
QByteArray Numbered(int first, int last);

// A window's control by its object name; nullptr (and a warning) when it has none.
template <class Control>
Control* Child(const QObject* window, const QString& name) {
  auto* control = window->findChild<Control*>(name);
  if (!control) qWarning("no control %s", qPrintable(name));
  return control;
}

// Lets posted events, deferred layouts and deferred deletions run.
void Settle();
// Ends every window a test left behind.
void CloseAll();

}  // namespace guitest
