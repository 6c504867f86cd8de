// Whether a top-level window has an entry in the desktop's taskbar.
#pragma once

class QWidget;

// Asks the window manager to leave `window` out of the taskbar (and the pager) or to list
// it again. Call it before the window is shown; a shown window is updated at once. On
// platforms without such a hint it does nothing.
void SetTaskbarEntry(QWidget* window, bool listed);
