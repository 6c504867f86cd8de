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
// is cancelled. An owner that stays quiet for a few seconds, or goes away part way, gives an
// empty text, as Qt's own read does after its wait. nullopt where it cannot be read that way
// (no display, text in neither UTF-8 nor Latin-1, or no owner): the caller then asks
// QClipboard, which knows more forms.
std::optional<QString> ReadX11ClipboardText(JobProgress& progress);
