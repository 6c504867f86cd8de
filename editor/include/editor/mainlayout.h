// The main window's layout rules, in twips.
#pragma once

// Where the main window's parts go for a given outer size of the window. All values are
// twips. The window never gets narrower than 6000 or lower than 4000 twips: below that it
// is set to 6001 or 4001, which lays it out again.
struct MainLayout {
  int windowWidth;   // the outer width the window must have
  int windowHeight;  // the outer height the window must have
  bool resized;      // true when the window must first be resized to the size above
  int panelWidth;    // the status bar's panel
  int frameWidth;
  int frameHeight;
  int textWidth;  // the document box inside the frame
  int textHeight;
};

inline constexpr int kMinWindowWidth = 6000;
inline constexpr int kMinWindowHeight = 4000;
inline constexpr int kTextLeft = 50;  // the document box's place inside its frame
inline constexpr int kTextTop = 145;

MainLayout LayoutMainWindow(int widthTwips, int heightTwips);
