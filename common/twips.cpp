// The main window's layout rules and twips conversion.
#include "layout.h"

#include <QWidget>
#include <cmath>

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

double TwipsPerPixelX(const QWidget* widget) {
  return 1440.0 / widget->logicalDpiX();
}
double TwipsPerPixelY(const QWidget* widget) {
  return 1440.0 / widget->logicalDpiY();
}

int ToPixelsX(const QWidget* widget, int twips) {
  return static_cast<int>(std::lround(twips / TwipsPerPixelX(widget)));
}
int ToPixelsY(const QWidget* widget, int twips) {
  return static_cast<int>(std::lround(twips / TwipsPerPixelY(widget)));
}
int ToTwipsX(const QWidget* widget, int pixels) {
  return static_cast<int>(std::lround(pixels * TwipsPerPixelX(widget)));
}
int ToTwipsY(const QWidget* widget, int pixels) {
  return static_cast<int>(std::lround(pixels * TwipsPerPixelY(widget)));
}
