// Clipboard text of quorpad's own.
#include "owntext.h"

#include <QApplication>
#include <QClipboard>

OwnClipboardText::OwnClipboardText(QObject* parent) : QObject(parent) {
  // Any change of the clipboard that quorpad did not make means another program owns it.
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
    if (!putting_) ours_ = false;
  });
}

void OwnClipboardText::put(const QString& text) {
  QClipboard* clipboard = QApplication::clipboard();
  text_ = text;
  putting_ = true;
  clipboard->setText(text);
  putting_ = false;
  ours_ = true;
  ownershipKnown_ = clipboard->ownsClipboard();
}

void OwnClipboardText::emptyIfOurs() {
  QClipboard* clipboard = QApplication::clipboard();
  // Where the platform tells who owns the clipboard, it has the last word.
  const bool ours =
      ours_ && clipboard->text() == text_ && (!ownershipKnown_ || clipboard->ownsClipboard());
  if (ours) clipboard->clear();
  ours_ = false;
}
