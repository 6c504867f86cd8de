// Another program's clipboard text, read beside the window: on X11 a big text comes in many
// pieces, one round trip each, and Qt's own read holds the window's thread for all of them.
#pragma once

#include <QClipboard>
#include <QString>
#include <functional>
#include <optional>

class JobProgress;
class LongJob;
class QPlainTextEdit;

// Hands the text of the clipboard (or the selection) to `then` on the window's thread, its
// line breaks made plain. Where another X11 program owns it, it is read beside the window
// as `job`, which holds `box` still meanwhile and from whose `done` `then` is called (so
// that the text may go in as the job's slices, see PutText); nothing when cancelled.
// Anywhere else `then` is called at once.
void ReadClipboardThen(LongJob* job, QPlainTextEdit* box, QClipboard::Mode mode,
                       std::function<void(const QString&)> then);

// The text of the clipboard (or the selection), its line breaks made plain, for work that
// needs it before it goes on (a template's field on its way to another program): read as
// ReadClipboardThen reads it, on a job of its own waited for with the windows painted
// meanwhile (LongJob::waitPainting). Empty where the read was given up.
QString ReadClipboardNow(QClipboard::Mode mode);

// The X11 clipboard's (or selection's) text, read through a connection of its own on the calling
// thread (a worker), with the pieces of a big text counted in `progress` and the read given up when
// it is cancelled. An owner that stays quiet for a few seconds, or goes away part way, gives an
// empty text, as Qt's own read does after its wait. nullopt where it cannot be read that way
// (no display, text in neither UTF-8 nor Latin-1, or no owner): the caller then asks
// QClipboard, which knows more forms.
std::optional<QString> ReadX11ClipboardText(JobProgress& progress, QClipboard::Mode mode);
