// The main window's layout rules and its geometry.
#include "editor/mainlayout.h"

#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "common/dialogwindow.h"
#include "common/twips.h"
#include "editor/documentpanels.h"
#include "editor/findbar.h"

MainLayout LayoutMainWindow(int widthTwips, int heightTwips) {
  MainLayout l{};
  l.windowWidth = widthTwips < kMinWindowWidth ? kMinWindowWidth + 1 : widthTwips;
  l.windowHeight = heightTwips < kMinWindowHeight ? kMinWindowHeight + 1 : heightTwips;
  l.resized = l.windowWidth != widthTwips || l.windowHeight != heightTwips;
  l.panelWidth = l.windowWidth;
  l.frameHeight = l.windowHeight - 680;
  l.frameWidth = l.windowWidth - 120;
  l.textWidth = l.frameWidth - 99;
  l.textHeight = l.frameHeight - 200;
  return l;
}

MainGeometry::MainGeometry(QMainWindow* window, Parts parts, std::function<void()> layOutNow)
    : QObject(window), window_(window), parts_(parts), layOutNow_(std::move(layOutNow)) {}

void MainGeometry::layOut() {
  const QRect outer = window_->frameGeometry();
  const int outerW = ToTwipsX(window_, outer.width());
  const int outerH = ToTwipsY(window_, outer.height());
  const MainLayout l = LayoutMainWindow(outerW, outerH);
  // A window manager that refuses the least size is not asked again for as long as the
  // window keeps the size it refused; once the window has a size of its own again, the
  // rule holds anew.
  if (!l.resized) lastCorrectedFrom_ = QSize();
  if (l.resized && !window_->isMaximized() && !window_->isFullScreen() &&
      window_->size() != lastCorrectedFrom_) {
    // Never smaller than the least size; the resize that follows lays the window out.
    // The corrected side is rounded up to whole pixels: rounded to the nearest it would
    // come out at 6000 twips rather than 6001.
    lastCorrectedFrom_ = window_->size();
    const int pixelsW = l.windowWidth == outerW
                            ? outer.width()
                            : static_cast<int>(std::ceil(l.windowWidth / TwipsPerPixelX(window_)));
    const int pixelsH = l.windowHeight == outerH
                            ? outer.height()
                            : static_cast<int>(std::ceil(l.windowHeight / TwipsPerPixelY(window_)));
    window_->resize(pixelsW - (outer.width() - window_->width()),
                    pixelsH - (outer.height() - window_->height()));
  }
  // The first panel takes what the panels after it leave of the bar.
  // A notice takes at most a third of the bar; its tip holds it whole.
  parts_.panels->notice()->setMaximumWidth(window_->width() / 3);
  int others = 0;
  for (QWidget* panel : parts_.panels->all())
    if (panel->isVisibleTo(window_->statusBar()))
      others += std::min(panel->sizeHint().width(), panel->maximumWidth()) + 6;
  parts_.statusPanel->setMinimumWidth(
      std::max(0, std::min(ToPixelsX(window_, l.panelWidth), window_->width()) -
                      window_->statusBar()->contentsMargins().left() - 24 - others));
  // The frame and the document box follow the window's outer size; where the window
  // manager's decorations are thinner than the rules assume, they stay within the client
  // area.
  const QSize area = window_->centralWidget()->size();
  const int frameW = std::clamp(ToPixelsX(window_, l.frameWidth), 0, area.width());
  const int frameH = std::clamp(ToPixelsY(window_, l.frameHeight), 0, area.height());
  parts_.frame->setGeometry(0, 0, frameW, frameH);
  const int textX = ToPixelsX(window_, kTextLeft);
  const int textY = ToPixelsY(window_, kTextTop);
  const int textW = std::clamp(ToPixelsX(window_, l.textWidth), 0, std::max(0, frameW - textX));
  int textH = std::clamp(ToPixelsY(window_, l.textHeight), 0, std::max(0, frameH - textY));
  // The Find bar, when shown, takes the bottom of the document's room.
  if (parts_.findBar->isVisible()) {
    const int barH = std::min(parts_.findBar->sizeHint().height(), textH);
    textH -= barH;
    parts_.findBar->setGeometry(textX, textY + textH, textW, barH);
  }
  parts_.text->setGeometry(textX, textY, textW, textH);
}

void MainGeometry::schedule() {
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    pending_ = false;
    layOutNow_();
  });
}

void MainGeometry::showing(bool spontaneous) {
  if (!spontaneous) CentreOnce(window_, centred_);
  if (QWindow* handle = window_->windowHandle(); handle && !watchingExposure_) {
    handle->installEventFilter(this);
    watchingExposure_ = true;
  }
  schedule();
}

bool MainGeometry::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_->windowHandle() && event->type() == QEvent::Expose) {
    Q_EMIT exposureChanged();
    schedule();
  }
  return QObject::eventFilter(watched, event);
}
