#!/usr/bin/env bash
# End-to-end run of writing, saving, finding, replacing and reopening a document from the
# keyboard alone, on Xvfb with openbox and trayer: Ctrl+S on an untitled document brings the
# "Save File" dialog, Ctrl+F finds a word, Ctrl+H replaces every match, Ctrl+O opens the
# file again; the file's bytes are checked after each save. Then the manager moves the
# second template into the popup's first slot, and the popup inserts it. Last, a template
# dragged to the top of the manager's list, with fields switched on there, asks for its
# fill-in when the popup inserts it.
#
#   keyboard_e2e.sh PROGRAM_FOLDER
set -u
xs_tag=keyboard
. "$(dirname "$0")/xsession.sh"
xs_bound 120 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: keyboard_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
xs_total=6
xs_keep=${KEYBOARD_E2E_KEEP:-}
xs_picture=keyboard_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
printf '1\x04Alpha\x04first text\r\n1\x04Beta\x04second text\r\n1\x04Greeting\x04Hello {:ask Who:}!\r\n' \
  >"$work/bin/templates.dat"
mkdir -p "$work/docs" || finish
doc="$work/docs/keys.txt"
xs_start_x || finish
xs_start_tray || finish

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "${1:-$main}" ]; }
bytes_are() { [ -f "$doc" ] && [ "$(od -An -c "$doc")" = "$(printf "$1" | od -An -c)" ]; }
held() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
# Copies the whole document until the clipboard holds TEXT: keys typed while a file is
# still being read, or before the keyboard is back from a dialog, are lost, so the copy is
# tried again rather than once.
copy_reads() {
  xdotool key ctrl+a ctrl+c
  poll 1 clipboard_is "$1"
}
document_reads() { poll "$WAIT_SECONDS" copy_reads "$1"; }
# The popup from the keyboard: its first slot is current; four up is Manage Templates.
open_manager() {
  xdotool key shift+F10
  poll "$WAIT_SECONDS" find_popup
  xdotool key Up Up Up Up Return
  if ! poll "$WAIT_SECONDS" find_prompt "Manage Templates"; then
    fail_step "the manager did not open"
    finish
  fi
  poll "$WAIT_SECONDS" focused "$prompt"
}
says() { printf '%s' "$(od -An -c "$doc" 2>/dev/null | tr -s ' ')"; }

xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad" || { echo "no main window" >&2; finish; }
main=$window
poll "$WAIT_SECONDS" find_icon
poll "$WAIT_SECONDS" focused

begin_step "Ctrl+S on an untitled document asks for a name in Save File and writes the file"
xdotool type --delay 20 'the cat sat on the cat mat'
xdotool key Return
xdotool type --delay 20 'second line'
xdotool key ctrl+s
if ! poll "$WAIT_SECONDS" find_prompt "Save File"; then
  fail_step "no 'Save File' dialog came"
  finish
fi
dialog=$prompt
poll "$WAIT_SECONDS" focused "$dialog"
xdotool type --delay 20 "$doc"
xdotool key Return
# The file does not exist yet: the dialog asks before it creates it (Yes is the default).
if poll "$WAIT_SECONDS" find_another "Save File" "$dialog"; then
  poll "$WAIT_SECONDS" focused "$asking"
  xdotool key Return
fi
if ! poll "$WAIT_SECONDS" bytes_are 'the cat sat on the cat mat\nsecond line'; then
  fail_step "the file holds: $(says)"
elif ! poll "$WAIT_SECONDS" focused; then
  fail_step "the keyboard did not come back to the document"
else
  pass_step
fi

begin_step "Ctrl+F finds a word; Escape gives the match back to the document"
xdotool key ctrl+Home ctrl+f
xdotool type --delay 20 'mat'
xdotool key Escape
xdotool type --delay 20 'rug'
xdotool key ctrl+s
if ! poll "$WAIT_SECONDS" bytes_are 'the cat sat on the cat rug\nsecond line'; then
  fail_step "the file holds: $(says)"
else
  pass_step
fi

begin_step "Ctrl+H replaces every match"
xdotool key ctrl+h
xdotool type --delay 20 'cat'
xdotool key Tab
xdotool type --delay 20 'dog'
xdotool key ctrl+Return Escape ctrl+s
if ! poll "$WAIT_SECONDS" bytes_are 'the dog sat on the dog rug\nsecond line'; then
  fail_step "the file holds: $(says)"
else
  pass_step
fi

begin_step "Ctrl+O opens the saved file again"
# The document holds text: Open asks first, and Yes (the default) saves it in place.
xdotool key ctrl+o
if poll "$WAIT_SECONDS" find_prompt quorpad; then
  poll "$WAIT_SECONDS" focused "$prompt"
  xdotool key Return
fi
if ! poll "$WAIT_SECONDS" find_prompt "Open File"; then
  fail_step "no 'Open File' dialog came"
  finish
fi
poll "$WAIT_SECONDS" focused "$prompt"
xdotool type --delay 20 "$doc"
xdotool key Return
poll "$WAIT_SECONDS" focused
if ! document_reads "$(printf 'the dog sat on the dog rug\nsecond line\n')"; then
  fail_step "the document holds '$(held)'"
elif ! bytes_are 'the dog sat on the dog rug\nsecond line'; then
  fail_step "the file changed: $(says)"
else
  pass_step
fi

begin_step "the manager moves Beta into the first slot, and the popup inserts it"
xdotool key ctrl+End
open_manager
# The keyboard is in the list: the second template, up one; the close box leaves.
xdotool key Home Down alt+Up
moved() { head -n 1 "$work/bin/templates.dat" | grep -q 'Beta'; }
poll "$WAIT_SECONDS" moved
xdotool key alt+F4
poll "$WAIT_SECONDS" focused
xdotool key shift+F10
poll "$WAIT_SECONDS" find_popup
xdotool key Return
# The insertion is read back by copying until it shows, not after a fixed wait.
if ! moved; then
  fail_step "the store did not change: $(od -c "$work/bin/templates.dat" | head -3)"
elif ! document_reads "$(printf 'the dog sat on the dog rug\nsecond line\nsecond text')"; then
  fail_step "the document holds '$(held)'"
else
  pass_step
fi

begin_step "a template dragged to the top asks for its fill-in once fields are on"
open_manager
# At this font the manager has its designed size: 15 twips a pixel. The list starts at
# (120, 240) twips, its rows 14 pixels high from 17 pixels down; the fields box is at
# (5760, 1185) twips.
read -r mx my _ _ <<<"$(geometry "$prompt")"
xdotool mousemove $((mx + 40)) $((my + 51)) mousedown 1
# A person's drag: the press, then steps of motion at a hand's pace (not waits for the program).
sleep 0.2
for dy in 45 38 31 24 19; do
  xdotool mousemove $((mx + 40)) $((my + dy))
  sleep 0.1
done
xdotool mouseup 1
greeting_first() { head -n 1 "$work/bin/templates.dat" | grep -q 'Greeting'; }
poll "$WAIT_SECONDS" greeting_first
click_at $((mx + 390)) $((my + 87)) 1
switched_on() { grep -q 'fields=1' "$work/bin/quorpad.ini" 2>/dev/null; }
poll "$WAIT_SECONDS" switched_on
xdotool key alt+F4
poll "$WAIT_SECONDS" focused
xdotool key ctrl+a shift+F10
poll "$WAIT_SECONDS" find_popup
xdotool key Return
if ! greeting_first || ! switched_on; then
  fail_step "the drag or the switch did not reach the files: $(head -c 60 "$work/bin/templates.dat" | od -c | head -2) / $(cat "$work/bin/quorpad.ini" 2>/dev/null)"
elif ! poll "$WAIT_SECONDS" find_prompt "Fill In Template"; then
  fail_step "no fill-in question came"
else
  poll "$WAIT_SECONDS" focused "$prompt"
  xdotool type --delay 20 'World'
  xdotool key Return
  poll "$WAIT_SECONDS" focused
  if ! document_reads 'Hello World!'; then
    fail_step "the document holds '$(held)'"
  else
    pass_step
  fi
fi
finish
