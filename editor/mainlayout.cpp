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
#include "common/taskbar.h"
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
    : QObject(window), window_(window), parts_(parts), layOutNow_(std::move(layOutNow)) {
  // The rules work from the outer size, which a window manager that frames the window late
  // (one started just after quorpad) changes without a resize.
  WatchFrameSize(window_, [this] { schedule(); });
}

void MainGeometry::layOut() {
  // The rules are the design's, in twips at the design's font; a larger desktop font makes
  // the whole window larger by the dialogs' rule, so that its texts keep their room.
  const double scale = FontScale(window_);
  const auto pixelsX = [&](int twips) { return ToPixelsX(window_, qRound(twips * scale)); };
  const auto pixelsY = [&](int twips) { return ToPixelsY(window_, qRound(twips * scale)); };
  // The window's own handle knows the frame as the window manager last told it; the
  // widget's cached copy is not renewed when a frame comes after the window was shown.
  const QWindow* handle = window_->windowHandle();
  const QRect outer = handle && handle->handle() ? window_->geometry() + handle->frameMargins()
                                                 : window_->frameGeometry();
  const int outerW = qRound(ToTwipsX(window_, outer.width()) / scale);
  const int outerH = qRound(ToTwipsY(window_, outer.height()) / scale);
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
    const int pixelsW =
        l.windowWidth == outerW
            ? outer.width()
            : static_cast<int>(std::ceil(l.windowWidth * scale / TwipsPerPixelX(window_)));
    const int pixelsH =
        l.windowHeight == outerH
            ? outer.height()
            : static_cast<int>(std::ceil(l.windowHeight * scale / TwipsPerPixelY(window_)));
    window_->resize(pixelsW - (outer.width() - window_->width()),
                    pixelsH - (outer.height() - window_->height()));
  }
  layOutStatusBar(pixelsX(kMinPanelWidth));
  // The frame and the document box follow the window's outer size; where the window
  // manager's decorations are thinner than the rules assume, they stay within the client
  // area.
  const QSize area = window_->centralWidget()->size();
  const int frameW = std::clamp(pixelsX(l.frameWidth), 0, area.width());
  const int frameH = std::clamp(pixelsY(l.frameHeight), 0, area.height());
  parts_.frame->setGeometry(0, 0, frameW, frameH);
  const int textX = pixelsX(kTextLeft);
  const int textY = pixelsY(kTextTop);
  const int textW = std::clamp(pixelsX(l.textWidth), 0, std::max(0, frameW - textX));
  int textH = std::clamp(pixelsY(l.textHeight), 0, std::max(0, frameH - textY));
  // The Find bar, when shown, takes the bottom of the document's room.
  if (parts_.findBar->isVisible()) {
    const int barH = std::min(parts_.findBar->sizeHint().height(), textH);
    textH -= barH;
    parts_.findBar->setGeometry(textX, textY + textH, textW, barH);
  }
  parts_.text->setGeometry(textX, textY, textW, textH);
}

void MainGeometry::layOutStatusBar(int leastWidth) {
  // The panels after the first take what their texts need (the bar's layout asks them again
  // whenever a text changes), a notice at most a third of the bar; the first panel, which
  // stretches, takes the rest and never less than its least width, whatever the length of
  // its text. What a panel cannot show whole its tooltip says.
  parts_.panels->notice()->setMaximumWidth(window_->width() / 3);
  parts_.statusPanel->setMinimumWidth(leastWidth);
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
