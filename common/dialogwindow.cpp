// Helpers shared by quorpad's dialogs.
#include "common/dialogwindow.h"

#include <algorithm>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "common/taskbar.h"
#include "common/twips.h"

void PlaceInTwips(QWidget* w, int left, int top, int width, int height) {
  int pixels = ToPixelsX(w, width);
  // A label's text is never cut short where the desktop's font is wider than the design's.
  if (qobject_cast<QLabel*>(w)) pixels = std::max(pixels, w->sizeHint().width());
  w->setGeometry(ToPixelsX(w, left), ToPixelsY(w, top), pixels, ToPixelsY(w, height));
}

void SetToolWindowFlags(QDialog* dialog) {
  dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& tip, bool enabled) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setToolTip(tip);
  b->setEnabled(enabled);
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

bool IgnoresDialogKeys(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) return false;
  event->accept();
  return true;
}

void CentreOnceAndKeepOffTaskbar(QDialog* dialog, bool& centred) {
  if (!centred) {
    centred = true;
    if (QScreen* screen = dialog->screen()) {
      QRect r = dialog->frameGeometry();
      r.moveCenter(screen->availableGeometry().center());
      dialog->move(r.topLeft());
    }
  }
  SetTaskbarEntry(dialog, false);
}

void BringForward(QDialog& dialog) {
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}
