#!/usr/bin/env bash
# End-to-end run of what a person does every day, on Xvfb with openbox (or xfwm4, with
# XS_WM=xfwm4) and trayer (so the window is left out of the taskbar): the keyboard is in the document at start and comes
# back to it after each dialog and question, and pasting with nothing copied (no program
# owns the clipboard or the selection) inserts nothing and ends nothing, while another
# program's text pastes as usual, and another program's big clipboard comes in whole, in a
# template's field or pasted, beside the window, and a later start's --copy takes it the same
# way.
#
#   everyday_e2e.sh PROGRAM_FOLDER SILENT_OWNER
#
# SILENT_OWNER is a program that takes the clipboard and never answers for it.
set -u
xs_tag=everyday
. "$(dirname "$0")/xsession.sh"
xs_bound 170 "$0" "$@"

BIN_DIR=${1:-}
SILENT_OWNER=${2:-}
[ -x "$BIN_DIR/quorpad" ] && [ -x "$SILENT_OWNER" ] ||
  { echo "usage: everyday_e2e.sh PROGRAM_FOLDER SILENT_OWNER" >&2; exit 2; }
xs_total=6
xs_keep=${EVERYDAY_E2E_KEEP:-}
xs_picture=everyday_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
printf '1\004Clip\004[{:clipboard:}]\r\n' >"$work/bin/templates.dat"
printf '[templates]\nfields=1\n' >"$work/bin/quorpad.ini"
xs_start_x || finish
xs_start_tray || finish

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "${1:-$main}" ]; }
# The document's whole text, read through its Copy (which makes quorpad the owner).
shows_text() {
  xdotool key ctrl+a ctrl+c
  poll 2 clipboard_is "$1"
}
no_owner() { ! timeout 2 xclip -o -selection "$1" >/dev/null 2>&1; }

begin_step "the keyboard is in the document at start"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "no main window"
  finish
fi
main=$window
poll "$WAIT_SECONDS" find_icon  # so that the icon, also titled quorpad, is told from a prompt
if ! poll "$WAIT_SECONDS" has_skip_taskbar "$main" || ! poll "$WAIT_SECONDS" focused; then
  fail_step "focus is on $(xdotool getwindowfocus), not the main window $main ($(net_wm_state "$main"))"
else
  pass_step
fi

begin_step "with nothing copied, Ctrl+V, Shift+Insert and a middle click insert nothing"
if ! no_owner clipboard || ! no_owner primary; then
  fail_step "some program owns the clipboard or the selection already"
else
  xdotool type --delay 20 'typed'
  read -r cx cy < <(centre_of "$main")
  xdotool key ctrl+v shift+Insert
  xdotool mousemove "$cx" "$cy" click 2
  if ! process_alive "$qp_pid"; then
    xs_reap "$qp_pid"
    fail_step "quorpad ended with status $?"
    finish
  elif ! shows_text typed; then
    fail_step "the document holds '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
  else
    pass_step
  fi
fi

begin_step "another program's clipboard and selection text paste in"
xdotool key ctrl+End
# What is typed at once after the paste follows it.
printf ' past' | xclip -selection clipboard
xdotool key ctrl+v type ed
printf ' selected' | xclip -selection primary
xdotool key ctrl+End
# The middle click pastes where it lands: the end of the only line is to its right.
xdotool mousemove "$cx" "$cy" click 2
if ! shows_text 'typed pasted selected'; then
  fail_step "the document holds '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
else
  pass_step
fi

begin_step "the keyboard comes back to the document after Save As and after the save question"
# The templates popup from the keyboard, its File submenu, Save As...; Escape cancels it.
xdotool key Menu
poll "$WAIT_SECONDS" find_popup
xdotool key Up Up Up Right Down Down Down Return
if ! poll "$WAIT_SECONDS" find_prompt "Save As"; then
  fail_step "no 'Save As' dialog came"
else
  poll "$WAIT_SECONDS" focused "$prompt"
  xdotool key Escape
  if ! poll "$WAIT_SECONDS" focused; then
    fail_step "after Save As the focus is on $(xdotool getwindowfocus getwindowname 2>&1)"
  else
    # New with unsaved text asks first; Cancel keeps the document.
    xdotool key Menu
    poll "$WAIT_SECONDS" find_popup
    xdotool key Up Up Up Right Return
    if ! poll "$WAIT_SECONDS" find_prompt quorpad; then
      fail_step "no save question came"
    else
      poll "$WAIT_SECONDS" focused "$prompt"
      xdotool key Escape
      xdotool key ctrl+End  # the text is still selected from reading it
      xdotool type --delay 20 '!'
      if ! poll "$WAIT_SECONDS" focused; then
        fail_step "after the question the focus is on $(xdotool getwindowfocus getwindowname 2>&1)"
      elif ! shows_text 'typed pasted selected!'; then
        fail_step "typing after the question gave '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
      else
        pass_step
      fi
    fi
  fi
fi

begin_step "another program's big clipboard comes in whole, in a template's field or pasted, or not at all"
# Big enough that its owner hands it over in pieces (INCR), read and put in beside the window.
awk 'BEGIN { for (i = 0; i < 40000; i++) printf "line %07d of the clipboard, with \303\251\n", i }' \
  >"$work/big.txt"
{ printf '['; cat "$work/big.txt"; printf ']'; } >"$work/expected.txt"
insert_clip() {  # insert_clip [FILE]: the file on another program's clipboard, then slot 1
  [ -z "${1:-}" ] || xclip -selection clipboard -i "$1"
  xdotool key ctrl+a Menu
  poll "$WAIT_SECONDS" find_popup
  sleep 0.3
  xdotool key Return  # the first slot, chosen from the keyboard
}
# Whether the document holds the file's text, read through its Copy: once quorpad owns the
# clipboard (xclip offers no text/plain), so that the text on it before counts for nothing.
# Each look copies megabytes on the window's thread: a slow build gets time between them.
holds_big() {  # holds_big FILE
  sleep 1
  xdotool key ctrl+a ctrl+c
  poll 5 quorpad_owns_clipboard &&
    timeout 10 xclip -o -selection clipboard >"$work/got.txt" 2>/dev/null && cmp -s "$work/got.txt" "$1"
}
quorpad_owns_clipboard() { timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -qx 'text/plain'; }
# Twenty-five times the text, cancelled with Escape once the work shows: the document stays,
# and no Redo brings part of the text back.
for _ in $(seq 1 25); do cat "$work/big.txt"; done >"$work/bigger.txt"
insert_clip "$work/bigger.txt"
sleep 0.6
for _ in $(seq 1 10); do xdotool key Escape; sleep 0.3; done
xdotool key ctrl+y
if ! shows_text 'typed pasted selected!'; then
  fail_step "after Escape and Redo the document holds $(timeout 10 xclip -o -selection clipboard | wc -c) bytes"
else
  insert_clip "$work/big.txt"
  if ! poll $((6 * WAIT_SECONDS)) holds_big "$work/expected.txt"; then
    fail_step "the field gave $(wc -c <"$work/got.txt") bytes, not the $(wc -c <"$work/expected.txt") expected"
  else
    xclip -selection clipboard -i "$work/big.txt"
    xdotool key ctrl+a ctrl+v
    if ! poll $((6 * WAIT_SECONDS)) holds_big "$work/big.txt"; then
      fail_step "the paste gave $(wc -c <"$work/got.txt") bytes, not the $(wc -c <"$work/big.txt") expected"
    else
      pass_step
    fi
  fi
fi

# The owner is asked which forms it offers first: xclip, like other owners, answers a
# UTF-8 request with its Latin-1 bytes. An owner that never answers gives nothing, and the
# window answers meanwhile (its Copy works). A later start's --copy fills the field the same
# way, in the running quorpad.
begin_step "the field takes an owner's Latin-1 text, nothing from a silent owner or none"
printf 'caf\351' >"$work/latin1.txt"
offer() {  # offer latin1|silent|none: that owner of the clipboard, from this run
  if [ "$1" = silent ]; then
    "$SILENT_OWNER" >"$work/silent.out" &
    poll "$WAIT_SECONDS" grep -q owner "$work/silent.out"
    return
  fi
  # That form only, from an owner of this run's own that stays in the foreground.
  xclip -quiet -selection clipboard -t STRING -i "$work/latin1.txt" >/dev/null 2>&1 &
  local owner_pid=$!
  poll "$WAIT_SECONDS" clipboard_is "$(printf 'caf\351')"
  if [ "$1" = none ]; then
    kill "$owner_pid"
    poll "$WAIT_SECONDS" no_owner clipboard
  fi
}
drawn_at_foot() {  # drawn_at_foot WIDTH HEIGHT: more than the background at the bottom right
  import -window "$main" "$work/shot.png" 2>/dev/null &&
    [ "$(convert "$work/shot.png" -crop "120x16+$(($1 - 130))+$(($2 - 18))" -format %k info:)" -gt 2 ]
}
step_ok=1
for owner in latin1 silent none; do  # what is offered, and the document it makes
  want='[]'
  [ "$owner" = latin1 ] && want='[café]'
  offer "$owner"
  insert_clip
  if [ "$owner" = silent ]; then
    sleep 1
    xdotool key ctrl+c
    if ! poll 3 quorpad_owns_clipboard; then
      fail_step "the window did not answer while the clipboard's owner kept quiet"
      step_ok=0
    fi
  fi
  if ! poll "$WAIT_SECONDS" shows_text "$want"; then
    fail_step "with $owner the document holds '$(timeout 5 xclip -o -selection clipboard)', not '$want'"
    step_ok=0
  fi
  offer "$owner"
  copied=0
  timeout 20 "$work/bin/quorpad" --copy Clip >"$work/copy.out" 2>&1 &
  copy_pid=$!
  # Once the owner is asked, the window is made larger, and lays itself out again: its status
  # bar's texts are drawn along its new foot.
  if [ "$owner" = silent ] && poll "$WAIT_SECONDS" grep -q asked "$work/silent.out" &&
     xdotool windowsize "$main" 760 520 && ! poll 2 drawn_at_foot 760 520; then
    fail_step "the window was not drawn at its new size while --copy waited for the owner"
    step_ok=0
  fi
  wait "$copy_pid" || copied=$?
  if [ "$copied" != 0 ] || ! poll "$WAIT_SECONDS" clipboard_is "$want"; then
    fail_step "with $owner --copy ended with $copied ('$(cat "$work/copy.out")'), the clipboard '$(timeout 5 xclip -o -selection clipboard)', not '$want'"
    step_ok=0
  fi
done
[ "$step_ok" = 1 ] && pass_step
finish
