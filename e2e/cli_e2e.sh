#!/usr/bin/env bash
# End-to-end run of quorpad's command line on a private X session with trayer's notification
# area: options that print and end, a file given at start, a later start that hands its file
# to the running quorpad (answering the save prompt with the keyboard) or bringing it out of
# the tray, and a killed quorpad replaced at once.
#
#   cli_e2e.sh PROGRAM_FOLDER
set -u
xs_tag=cli
. "$(dirname "$0")/xsession.sh"
xs_bound 170 "$0" "$@"

BIN_DIR=${1:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ]; then
  echo "usage: cli_e2e.sh PROGRAM_FOLDER   (no quorpad in '${BIN_DIR}')" >&2
  exit 2
fi
xs_total=7
xs_keep=${CLI_E2E_KEEP:-}
xs_picture=cli_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
printf '1\x04Greeting\x04Hello\r\n1\x04Sig\x04Bye\r\n' >"$work/bin/templates.dat"
qp="$work/bin/quorpad"
docs="$work/docs"
mkdir -p "$docs"
printf 'alpha one\n' >"$docs/a.txt"
printf 'beta two\n' >"$docs/b ü.txt"
printf 'gamma three\n' >"$docs/c.txt"

xs_start_x || finish
xs_start_tray || finish

# Runs quorpad in the documents' folder to its end, within a bound; sets out, err, status.
run_to_end() {
  status=0
  (cd "$docs" && timeout 20 "$qp" "$@") >"$work/out" 2>"$work/err" || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}
main_windows() { xdotool search --onlyvisible --name '^quor - pad$' 2>/dev/null | wc -l; }
tray_icons() { xwininfo -tree -id "$panel" 2>/dev/null | grep -c '("quorpad" "quorpad")'; }
# The document's whole text, read through Copy: shows_text WINDOW TEXT.
shows_text() {
  timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool key ctrl+a ctrl+c
  poll 2 clipboard_is "$2"
}
clipboard_now() { timeout 5 xclip -o -selection clipboard 2>/dev/null | head -c 200; }
# Starts quorpad in the background in the documents' folder; sets spawned_pid.
start_qp() {
  local log=$1
  shift
  xs_spawn "$log" bash -c 'cd "$1" && shift && exec "$@"' _ "$docs" "$qp" "$@"
}

# ----------------------------------------------------------------------------------------
begin_step "--help, --version and a wrong option print and end, opening no window"
# A library lying in the working folder is never loaded: a broken one there would end the start.
echo 'not a library' >"$docs/libQt6DBus.so.6"
version_re='^quorpad v[0-9]+\.[0-9]+\.[0-9]+a
Using Quorvin Template Engine v[0-9]+\.[0-9]+\.[0-9]+
Templates: .*$'
run_to_end --version
v_status=$status v_out=$out
(unset DISPLAY WAYLAND_DISPLAY; run_to_end --help; echo "$status" >"$work/help.status"
  [ "$status" = 0 ] && [[ $out == "Usage: quorpad [options] [FILE]"* ]] && [ -z "$err" ])
help_ok=$?
run_to_end --no-such-option a.txt
rm -f "$docs/libQt6DBus.so.6"
# The program folder can be written: the store beside the program is the one in use.
if [ "$v_status" != 0 ] || ! [[ $v_out =~ $version_re ]] ||
   [[ $v_out != *"Templates: $work/bin/templates.dat" ]]; then
  fail_step "--version: status $v_status, printed '$v_out'"
elif [ "$help_ok" != 0 ]; then
  fail_step "--help without a display: status $(cat "$work/help.status"), or not the usage"
elif [ "$status" != 2 ] || [ -n "$out" ] || [[ $err != *"no-such-option"*"Usage: quorpad"* ]]; then
  fail_step "a wrong option: status $status, stdout '$out', stderr '$err'"
elif [ "$(main_windows)" != 0 ]; then
  fail_step "a 'quor - pad' window showed"
else
  log "  $(echo "$v_out" | tr '\n' ' ')"
  pass_step
fi

# ----------------------------------------------------------------------------------------
begin_step "without a display: one line and status 1, no abort; --list still answers"
no_display=()
for args in "" "a.txt" "--list"; do
  # shellcheck disable=SC2086
  (unset WAYLAND_DISPLAY; export DISPLAY=:99999; run_to_end $args
    printf '%s|%s|%s' "$status" "$(printf '%s' "$out" | tr '\n' '~')" \
      "$(printf '%s' "$err" | tr '\n' '~')") \
    >"$work/nodisplay" 2>&1
  no_display+=("$(cat "$work/nodisplay")")
done
expected_line='quorpad: cannot open a window on the display :99999: could not connect to display :99999'
if [ "${no_display[0]}" != "1||$expected_line" ]; then
  fail_step "quorpad: '${no_display[0]}'"
elif [ "${no_display[1]}" != "1||$expected_line" ]; then
  fail_step "quorpad a.txt: '${no_display[1]}'"
elif [ "${no_display[2]}" != "0|Greeting~Sig|" ]; then
  fail_step "quorpad --list: '${no_display[2]}'"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
begin_step "quorpad a.txt shows a.txt's text"
start_qp "$work/quorpad.log" a.txt
qp_pid=$spawned_pid
main=""
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "no 'quor - pad' window within ${WAIT_SECONDS}s"
  finish
fi
main=$window
if poll "$WAIT_SECONDS" shows_text "$main" "alpha one"; then
  pass_step
else
  fail_step "the document does not show a.txt; clipboard: '$(clipboard_now)'"
fi

# ----------------------------------------------------------------------------------------
begin_step "a second start with b ü.txt ends with 0; after the save prompt the first shows it"
timeout 5 xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key ctrl+End
xdotool type --delay 30 "edited"
start_qp "$work/second.log" "b ü.txt"
second=$spawned_pid
prompt=""
if ! poll "$WAIT_SECONDS" find_prompt; then
  fail_step "no save prompt for a.txt's unsaved changes within ${WAIT_SECONDS}s"
else
  timeout 5 xdotool windowactivate --sync "$prompt" 2>/dev/null
  xdotool key y
  if ! poll "$WAIT_SECONDS" process_ended "$second"; then
    fail_step "the second start is still running"
  elif ! xs_reap "$second"; then
    fail_step "the second start ended with a failure: $(cat "$work/second.log")"
  elif ! poll "$WAIT_SECONDS" shows_text "$main" "beta two"; then
    fail_step "the first quorpad does not show b ü.txt; clipboard: '$(clipboard_now)'"
  elif [ "$(cat "$docs/a.txt")" != $'alpha one\nedited' ]; then
    fail_step "a.txt was not saved by the prompt's Yes: '$(cat "$docs/a.txt")'"
  else
    pass_step
  fi
fi

begin_step "one tray icon and one main window remain"
icons=$(tray_icons)
windows=$(main_windows)
if [ "$icons" != 1 ] || [ "$windows" != 1 ]; then
  fail_step "$icons tray icon(s), $windows main window(s)"
elif ! process_alive "$qp_pid"; then
  fail_step "the first quorpad is gone"
else
  pass_step
fi

begin_step "a start while the window hides in the tray brings it back"
xdotool windowminimize "$main" 2>/dev/null
if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$main"; then
  fail_step "minimizing did not hide the window in the tray"
else
  run_to_end
  if [ "$status" != 0 ]; then
    fail_step "the start ended with status $status: $err"
  elif ! poll "$WAIT_SECONDS" is_viewable "$main"; then
    fail_step "the window stayed hidden"
  elif [ "$(main_windows)" != 1 ]; then
    fail_step "$(main_windows) main windows"
  else
    pass_step
  fi
fi

# ----------------------------------------------------------------------------------------
begin_step "after kill -9, two starts at once: one runs at once, the other hands over"
kill -KILL "$qp_pid"
poll "$WAIT_SECONDS" process_ended "$qp_pid"
xs_reap "$qp_pid"
poll "$WAIT_SECONDS" icon_absent || true
started_at=$SECONDS
start_qp "$work/quorpad.log" c.txt
p1=$spawned_pid
start_qp "$work/third.log"
p2=$spawned_pid
one_ended() { process_ended "$p1" || process_ended "$p2"; }
if ! poll 30 one_ended; then
  fail_step "neither start handed over: two quorpads run"
else
  if process_ended "$p1"; then
    xs_reap "$p1"
    handed=$?
    qp_pid=$p2
  else
    xs_reap "$p2"
    handed=$?
    qp_pid=$p1
  fi
  if [ "$handed" != 0 ]; then
    fail_step "the start that handed over ended with status $handed"
  elif ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
    fail_step "no main window after the kill"
  elif ! poll "$WAIT_SECONDS" shows_text "$window" "gamma three"; then
    fail_step "the document does not show c.txt; clipboard: '$(clipboard_now)'"
  elif [ "$(main_windows)" != 1 ] || [ "$(tray_icons)" != 1 ]; then
    fail_step "$(main_windows) main window(s), $(tray_icons) tray icon(s)"
  else
    log "  running again $((SECONDS - started_at))s after the kill"
    pass_step
  fi
fi
finish
