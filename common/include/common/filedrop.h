// Files dragged from a file manager onto a window: taken from the drop and handed on.
#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

// The local files among dropped data, in their order; empty when it carries none.
QStringList DroppedFiles(const QMimeData* data);

// Takes drops of local files on the widgets it watches; any other drag (text, say) goes on to
// the widget as before.
class FileDropTarget : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  // Lets `widget` take drops and watches them.
  void watch(QWidget* widget);

 Q_SIGNALS:
  // A file was dropped; sent once the drop is over, so that the sender is not kept waiting
  // by whatever the file's opening asks.
  void fileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
