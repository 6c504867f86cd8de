// What the window manager is asked for a top-level window: a taskbar entry, the keyboard;
// and what it tells of its frame.
#pragma once

#include <functional>

class QWidget;

// Asks the window manager to leave `window` out of the taskbar (and the pager) or to list
// it again. Call it before the window is shown; a shown window is updated at once. On
// platforms without such a hint it does nothing.
void SetTaskbarEntry(QWidget* window, bool listed);

// Gives the keyboard to `window`, a shown window of quorpad's, or to a control within its
// window. Some X11 window managers refuse an application's activation request for a window
// left out of the taskbar (openbox does), so on X11 the focus is set on the window directly,
// as the ICCCM lets a client do for its own windows; elsewhere the platform's activation is
// asked for. A window not on screen is left alone.
void GiveKeyboardFocus(QWidget* window);

// Calls `changed` (soon after, once Qt has taken the news in) whenever the window manager
// sets or changes the size of the frame it puts round `window`: on X11, a window manager
// that starts after the window was shown frames it later, which no resize or move of the
// window tells. Elsewhere it does nothing. The watch ends with `window`.
void WatchFrameSize(QWidget* window, std::function<void()> changed);
