// The text quorpad itself put on the system clipboard, so that Exit empties the clipboard
// of that text only and never of another program's.
#pragma once

#include <QObject>
#include <QString>

class OwnClipboardText : public QObject {
 public:
  explicit OwnClipboardText(QObject* parent);

  // Puts `text` on the clipboard as quorpad's own.
  void put(const QString& text);
  // Empties the clipboard when it still holds what put() left there; forgets it either way.
  void emptyIfOurs();

 private:
  QString text_;                 // what put() last left on the clipboard
  bool ours_ = false;            // no other program has changed it since
  bool putting_ = false;         // quorpad itself is changing it right now
  bool ownershipKnown_ = false;  // the platform reports who owns it
};
