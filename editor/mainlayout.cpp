// The main window's layout rules.
#include "editor/mainlayout.h"

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
