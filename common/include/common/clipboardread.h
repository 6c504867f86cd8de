// Another program's clipboard text, read beside the window: on X11 a big text comes in many
// pieces, one round trip each, and Qt's own read holds the window's thread for all of them.
#pragma once

#include <QString>
#include <optional>

class JobProgress;

// Whether the clipboard's text is another program's on an X11 display, so that reading it
// may take long: ReadX11ClipboardText can read it on a worker.
bool ClipboardIsForeignX11();

// The X11 clipboard's text, read through a connection of its own on the calling thread (a
// worker), with the pieces of a big text counted in `progress` and the read given up when it
// is cancelled. nullopt where it cannot be read that way (no display, the owner does not
// answer within a few seconds, the read cancelled); the caller then asks QClipboard, which
// has its own bounds.
std::optional<QString> ReadX11ClipboardText(JobProgress& progress);
