// The main window's layout rules, in twips, and the object that lays the window out by them.
#pragma once

#include <QObject>
#include <QSize>
#include <functional>

class DocumentPanels;
class FindBar;
class QLabel;
class QMainWindow;
class QPlainTextEdit;
class QWidget;

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
inline constexpr int kMinPanelWidth = 1440;  // the status bar's first panel, at the least
inline constexpr int kTextLeft = 50;         // the document box's place inside its frame
inline constexpr int kTextTop = 145;

MainLayout LayoutMainWindow(int widthTwips, int heightTwips);

// The main window's geometry, owned by the window: its parts laid out by the rules above
// whenever its size, state, place or exposure changes (once per round of events, however
// many asked), the window centred the first time it shows, and the least size asked of the
// window manager no more than once while the window keeps a size it refused.
class MainGeometry : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    QWidget* frame;
    QPlainTextEdit* text;
    FindBar* findBar;
    QLabel* statusPanel;  // the first panel, which takes what the others leave
    DocumentPanels* panels;
  };
  // `layOutNow` is the window's own resize handler, which calls layOut() unless the window
  // is minimized.
  MainGeometry(QMainWindow* window, Parts parts, std::function<void()> layOutNow);

  // Lays the parts out for the window's outer size now.
  void layOut();
  // Lays out once the events in hand are done: a change of size or state, a move and an
  // exposure each change the outer size the rules work from, since the window manager's
  // frame is known only once the window is on screen, and its arrival moves the window.
  void schedule();
  // The window is showing: centred the first time a program shows it, its exposures watched.
  void showing(bool spontaneous);

 Q_SIGNALS:
  // The window's surface was exposed or hidden.
  void exposureChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layOutStatusBar(int leastWidth);

  QMainWindow* window_;
  Parts parts_;
  std::function<void()> layOutNow_;
  bool centred_ = false;
  bool watchingExposure_ = false;
  bool pending_ = false;
  QSize lastCorrectedFrom_;  // the size last corrected to the least size, while it stands
};
