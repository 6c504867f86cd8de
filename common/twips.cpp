// Twips and pixels on the widget's screen.
#include "common/twips.h"

#include <QWidget>
#include <cmath>

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
