// `quorpad --pick`: the template picker as a small window of its own, for a desktop shortcut.
// The template chosen goes on the clipboard and, unless asked not to, into the window that
// had the keyboard.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "editor/pasteinto.h"
#include "template/tmpeng.h"

class TemplatePicker;

struct PickRequest {
  bool paste = true;  // false: the clipboard only (--no-paste)
  PasteKeys keys{{QStringLiteral("ctrl")}, QStringLiteral("v")};  // --paste-key
  unsigned long target = 0;  // the window to paste into, where known before the window shows
};

class PickWindow : public QWidget {
  Q_OBJECT

 public:
  // `engine` reads the store and must outlive the window; `fields` says whether fields are
  // filled; `putOnClipboard` puts the text chosen on the clipboard.
  PickWindow(templates::tmpeng& engine, bool fields, PickRequest request,
             std::function<void(const QString& text)> putOnClipboard);
  ~PickWindow() override;

  // Remembers the window that has the keyboard, then shows this one in front of every other
  // window with the keyboard: near the pointer on X11, where the compositor puts it on
  // Wayland.
  void start();

 Q_SIGNALS:
  // The pick is over and the window closed: `text` went on the clipboard (nothing when
  // Escape, or losing the keyboard, ended it). Where it was to be pasted and could not be,
  // the person has been told why.
  void finished(const QString& text);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void choose(const QString& name, const QString& value);
  // Ends the pick, telling the person `problem` where there is one; `giveBack` hands the keyboard
  // back to where it was (Escape), which a pick ended by another window taking the keyboard does
  // not.
  void end(const QString& text, const QString& problem, bool giveBack = true);

  templates::tmpeng& engine_;
  bool fields_;
  PickRequest request_;
  std::function<void(const QString&)> putOnClipboard_;
  PasteTarget* target_ = nullptr;
  TemplatePicker* picker_ = nullptr;
  bool chosen_ = false;  // a template was chosen: what follows ends the pick
  bool asking_ = false;  // a fill-in question is open over the window
  bool ending_ = false;
};
