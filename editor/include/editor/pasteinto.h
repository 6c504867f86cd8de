// Where a template picked from outside quorpad goes: back into the window that had the
// keyboard, by the paste key sent as if typed.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A paste key as given on the command line: modifiers and one key, joined by "+"
// ("ctrl+v", "ctrl+shift+v", "shift+Insert").
struct PasteKeys {
  QStringList modifiers;  // "ctrl", "shift", "alt", "super", in the order given
  QString key;            // a key name as X11 and xkbcommon spell it: "v", "Insert"
};

// Reads `text`; nothing, with `why`, when it names no key or a modifier quorpad does not know.
std::optional<PasteKeys> ReadPasteKeys(const QString& text, QString& why);

// The X11 window that has the keyboard now; 0 elsewhere or where none has it.
unsigned long WindowWithKeyboard();

// The window that has the keyboard when a pick begins, and the way back into it.
class PasteTarget : public QObject {
  Q_OBJECT

 public:
  // Remembers `window` (from WindowWithKeyboard()), or else the window that has the keyboard
  // now (on X11; elsewhere the compositor gives the keyboard back to it once quorpad's
  // window closes).
  PasteTarget(unsigned long window, QObject* parent);
  ~PasteTarget() override;

  // Gives the keyboard back to the window remembered and sends it `keys`: on X11 through
  // the XTest extension, once that window has the keyboard again; on Wayland through wtype.
  // `done` gets an empty string once the keys are sent, or why the text was not pasted (it
  // stays on the clipboard).
  void paste(const PasteKeys& keys, std::function<void(const QString& problem)> done);
  // Gives the keyboard back without pasting.
  void giveBack();

 private:
  void sendX11(const PasteKeys& keys, std::function<void(const QString&)> done, int tries);
  void sendWayland(const PasteKeys& keys, std::function<void(const QString&)> done);

  unsigned long window_ = 0;  // the X11 window, or 0
};

// Tells the person that the text is on the clipboard and not pasted, and why: as a desktop
// notification, or on standard error where none can be shown.
void SayLeftOnClipboard(const QString& problem);
