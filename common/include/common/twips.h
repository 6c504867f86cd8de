// Twips (1/1440 inch), the unit of every designed position and size, and pixels.
#pragma once

class QWidget;

// Twips per pixel on the screen that shows `widget` (1440 / its logical DPI).
double TwipsPerPixelX(const QWidget* widget);
double TwipsPerPixelY(const QWidget* widget);
int ToPixelsX(const QWidget* widget, int twips);
int ToPixelsY(const QWidget* widget, int twips);
int ToTwipsX(const QWidget* widget, int pixels);
int ToTwipsY(const QWidget* widget, int pixels);
