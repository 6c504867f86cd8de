#!/usr/bin/env bash
# End-to-end run of `quorpad --pick` on a real X server (Xvfb) with openbox, driven by
# xdotool as a desktop shortcut would start it: another program (pastetarget, which writes
# what its text box holds to a file) has the keyboard; --pick shows the picker in front with
# the keyboard, a few letters and Return choose a template, and its text (fields filled)
# arrives in that program, which has the keyboard again. Each pick of the table below runs
# without a quorpad and then with one running (which answers it: one process afterwards).
#
#   pick_e2e.sh PROGRAM_FOLDER PASTETARGET
#
# Works on a copy of the program in a temporary folder with a store of its own. Every wait
# polls with a bound; the whole run is bounded too. PICK_E2E_KEEP=1 keeps the folder.
set -u

. "$(dirname "$0")/xsession.sh"
xs_bound 170 "$0" "$@"

BIN_DIR=${1:-}
TARGET=${2:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ] || [ ! -x "$TARGET" ]; then
  echo "usage: pick_e2e.sh PROGRAM_FOLDER PASTETARGET" >&2
  exit 2
fi

xs_tag=pick_e2e
xs_total=15
xs_keep=${PICK_E2E_KEEP:-}
xs_picture=pick_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
printf '1\x04Greeting\x04Hello {:date yyyy:}\r\n1\x04Signature\x04Dear {:ask To:}\r\n' \
  >"$work/bin/templates.dat"
printf '[templates]\nfields=1\n' >"$work/bin/quorpad.ini"
year=$(date +%Y)
xs_start_x || finish

received="$work/received.txt"
xs_spawn "$work/target.log" "$TARGET" "$received"
target_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$target_pid" "paste target"; then
  log "the paste target did not show"
  finish
fi
target=$window
# A third program, to take the keyboard while the picker is open.
xs_spawn "$work/other.log" "$TARGET" "$work/other.txt" "other window"
if ! poll "$WAIT_SECONDS" find_window "$spawned_pid" "other window"; then
  log "the other window did not show"
  finish
fi
other=$window

has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
holds() { [ "$(cat "$received" 2>/dev/null)" = "$1" ]; }
pick_shown() { xdotool search --onlyvisible --name '^Insert Template$' >/dev/null 2>&1 &&
  [ "$(xdotool getwindowname "$(xdotool getwindowfocus 2>/dev/null)" 2>/dev/null)" = "Insert Template" ]; }
fill_in_shown() { [ "$(xdotool getwindowname "$(xdotool getwindowfocus 2>/dev/null)" 2>/dev/null)" = "Fill In Template" ]; }
picker_gone() { ! xdotool search --onlyvisible --name '^Insert Template$' >/dev/null 2>&1; }
quorpads() { pgrep -c -f "^$work/bin/quorpad" 2>/dev/null || echo 0; }

# The target with the keyboard and an empty box: given as a window manager gives it, or
# where none runs any more, set directly.
target_ready() {
  if [ -n "$wm_pid" ]; then
    timeout 5 xdotool windowactivate --sync "$target" 2>/dev/null
  else
    timeout 5 xdotool windowfocus --sync "$target" 2>/dev/null
  fi
  poll "$WAIT_SECONDS" has_keyboard "$target" || return 1
  xdotool key ctrl+a BackSpace
  poll "$WAIT_SECONDS" holds ""
}

# pick OPTIONS TYPED KEYS ANSWER EXPECTED CLIPBOARD: --pick with OPTIONS, TYPED letters then
# KEYS; ANSWER is typed into the fill-in question where not empty. The target then holds
# EXPECTED and has the keyboard; CLIPBOARD, where given, is what the clipboard holds; the
# command ends with status 0.
pick() {
  local options=$1 typed=$2 keys=$3 answer=$4 expected=$5 clipboard=$6 status
  target_ready || { fail_step "the paste target did not take the keyboard"; return; }
  # shellcheck disable=SC2086
  xs_spawn "$work/pick.log" "$work/bin/quorpad" --pick $options
  local pick_pid=$spawned_pid
  if ! poll "$WAIT_SECONDS" pick_shown; then
    fail_step "no picker window with the keyboard"
    return
  fi
  xdotool type --delay 60 "$typed"
  xdotool key $keys
  if [ -n "$answer" ]; then
    if ! poll "$WAIT_SECONDS" fill_in_shown; then
      fail_step "the fill-in question did not come"
      return
    fi
    xdotool type --delay 40 "$answer"
    xdotool key Return
  fi
  # Alone, the text is the picking process's until it ends (a clipboard manager would keep
  # it after): the clipboard is looked at first.
  if [ -n "$clipboard" ] && ! poll "$WAIT_SECONDS" clipboard_is "$clipboard"; then
    fail_step "the clipboard holds '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
  elif ! poll "$WAIT_SECONDS" process_ended "$pick_pid"; then
    fail_step "--pick $options did not end"
  elif ! { xs_reap "$pick_pid"; status=$?; [ "$status" -eq 0 ]; }; then
    fail_step "--pick $options ended with status $status: $(cat "$work/pick.log")"
  elif ! poll "$WAIT_SECONDS" holds "$expected"; then
    fail_step "the target holds '$(cat "$received" 2>/dev/null)', not '$expected'; the keyboard is in '$(xdotool getwindowname "$(xdotool getwindowfocus)" 2>/dev/null)'"
  elif ! poll "$WAIT_SECONDS" has_keyboard "$target"; then
    fail_step "the keyboard went to '$(xdotool getwindowname "$(xdotool getwindowfocus)" 2>/dev/null)', not back to the target"
  else
    pass_step
  fi
}

# The table: what is asked, and what the other program then holds.
run_table() {  # run_table WHERE
  begin_step "$1: a few letters and Return paste the template, its field filled"
  pick "" gre Return "" "Hello $year" "Hello $year"
  begin_step "$1: a fill-in is asked in front, and its answer pasted"
  pick "" sig Return Ann "Dear Ann" ""
  begin_step "$1: Escape pastes nothing"
  pick "" gre Escape "" "" ""
  begin_step "$1: --paste-key shift+Insert pastes with that key"
  pick "--paste-key shift+Insert" gre Return "" "Hello $year" ""
  begin_step "$1: --no-paste leaves the text on the clipboard only"
  pick --no-paste sig Return Bo "" "Dear Bo"
  begin_step "$1: another window taking the keyboard ends the pick, and keeps it"
  target_ready || { fail_step "the paste target did not take the keyboard"; return; }
  xs_spawn "$work/pick.log" "$work/bin/quorpad" --pick
  if ! poll "$WAIT_SECONDS" pick_shown; then
    fail_step "no picker window with the keyboard"
    return
  fi
  xdotool type --delay 60 gre
  # As the window manager gives it on a click or Alt+Tab.
  timeout 5 xdotool windowactivate "$other" 2>/dev/null
  if ! poll "$WAIT_SECONDS" picker_gone; then
    fail_step "the picker stayed"
  elif sleep 0.5 && ! has_keyboard "$other"; then
    fail_step "the keyboard went to '$(xdotool getwindowname "$(xdotool getwindowfocus)" 2>/dev/null)'"
  elif ! holds ""; then
    fail_step "the target received '$(cat "$received")'"
  else
    pass_step
  fi
}

run_table "alone"

begin_step "a quorpad starts and runs"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
# Settled first: its window takes the keyboard once on screen, which must not come after
# the target has been given it.
if poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad" && poll "$WAIT_SECONDS" has_keyboard "$window"; then
  pass_step
else
  fail_step "no main window with the keyboard"
fi

run_table "answered by the running quorpad"

# A window manager that has gone (or lags behind) leaves its word on which window is active
# while the keyboard is elsewhere: here it names the other window, active last.
begin_step "no window manager, its last word on the active window left behind: the paste still arrives"
kill "$wm_pid" 2>/dev/null
if ! poll "$WAIT_SECONDS" process_ended "$wm_pid"; then
  fail_step "the window manager did not end"
else
  xs_reap "$wm_pid"
  wm_pid=""
  stale=$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | grep -o '0x[0-9a-f]*' | head -n 1)
  if [ "$((${stale:-0}))" != "$other" ]; then
    fail_step "the window manager left '$stale', not the other window, as the active one"
  else
    pick "" gre Return "" "Hello $year" "Hello $year"
  fi
fi

begin_step "one quorpad afterwards, still running"
if [ "$(quorpads)" = 1 ] && process_alive "$qp_pid"; then
  pass_step
else
  fail_step "$(quorpads) quorpad processes"
fi

finish
