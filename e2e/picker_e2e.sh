#!/usr/bin/env bash
# End-to-end run of the template picker on a real X server (Xvfb) with openbox and trayer,
# driven by xdotool: Ctrl+T in the document opens it, a few typed letters find the 20th
# template of the store, and Return puts its text in the document. Then templates for other
# programs: quorpad --list and --copy NAME, answered by the running quorpad, which keeps
# the copied text on the clipboard after the command has ended.
#
#   picker_e2e.sh PROGRAM_FOLDER
#
# Works on a copy of the program in a temporary folder with a store of its own. Every wait
# polls with a bound; the whole run is bounded too. PICKER_E2E_KEEP=1 keeps the folder.
set -u

. "$(dirname "$0")/xsession.sh"
xs_bound 150 "$0" "$@"

BIN_DIR=${1:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ]; then
  echo "usage: picker_e2e.sh PROGRAM_FOLDER   (no quorpad in '${BIN_DIR}')" >&2
  exit 2
fi

xs_tag=picker_e2e
xs_total=6
xs_keep=${PICKER_E2E_KEEP:-}
xs_picture=picker_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
# Twenty-five templates; the twentieth, far beyond the popup's thirteen, has two lines.
for i in $(seq 1 25); do
  if [ "$i" = 20 ]; then
    printf '1\x04Quarterly zebra report\x04Zebra count\x02\x03up by 3\r\n'
  else
    printf '1\x04Note %d\x04Text of note %d\r\n' "$i" "$i"
  fi
done >"$work/bin/templates.dat"

# A second copy of the program with an empty store of its own: what it prints or copies can
# only have come from the running quorpad.
mkdir -p "$work/other" && cp -P "$work/bin"/* "$work/other/" && : >"$work/other/templates.dat" ||
  finish

xs_start_x || finish
xs_start_tray || finish


# ----------------------------------------------------------------------------------------

begin_step "quorpad starts with its main window"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "no viewable window titled 'quor - pad' within ${WAIT_SECONDS}s"
  finish
fi
main=$window
pass_step

begin_step "Ctrl+T, 'zebra', Return puts the 20th template's text in the document"
read -r cx cy <<<"$(centre_of "$main")"
timeout 5 xdotool windowactivate --sync "$main" 2>/dev/null
click_at "$cx" "$cy" 1
# The keys queue up behind Ctrl+T, which opens the picker before the next key is read.
xdotool key ctrl+t
xdotool type --delay 60 zebra
xdotool key Return
# The document holds the 20th template's two lines: all of it is copied and read back.
expected=$'Zebra count\nup by 3'
copy_all() {
  xdotool key ctrl+a ctrl+c
  poll 2 clipboard_is "$expected"
}
check_document() {  # check_document WHAT-IS-WRONG
  if poll "$WAIT_SECONDS" copy_all; then
    pass_step
  else
    fail_step "$1; clipboard: $(timeout 5 xclip -o -selection clipboard 2>/dev/null | od -c | head -n 4)"
  fi
}
check_document "the document does not hold the 20th template's two lines"

begin_step "Ctrl+T, typing, Escape leaves the document as it was"
xdotool key ctrl+End ctrl+t
xdotool type --delay 60 note
xdotool key Escape
check_document "the document changed after Escape"

begin_step "quorpad --list prints the names in store order through the running quorpad"
listed=$(timeout 20 "$work/other/quorpad" --list 2>"$work/list.err")
status=$?
if [ "$status" -ne 0 ]; then
  fail_step "status $status: $(cat "$work/list.err")"
elif [ "$(sed -n '20p' <<<"$listed")" != "Quarterly zebra report" ] ||
     [ "$(wc -l <<<"$listed")" -ne 25 ] || [ "$(head -n 1 <<<"$listed")" != "Note 1" ]; then
  fail_step "it printed: $(head -c 300 <<<"$listed" | tr '\n' '|')"
else
  pass_step
fi

begin_step "quorpad --copy 'Note 7' ends with status 0 and leaves the text on the clipboard"
timeout 20 "$work/other/quorpad" --copy "Note 7" >"$work/copy.out" 2>&1
status=$?
if [ "$status" -ne 0 ]; then
  fail_step "status $status: $(cat "$work/copy.out")"
elif ! poll "$WAIT_SECONDS" clipboard_is "Text of note 7"; then
  fail_step "the clipboard holds '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
elif ! process_alive "$qp_pid"; then
  fail_step "the running quorpad ended"
else
  pass_step
fi

begin_step "quorpad --copy of a missing name ends with status 1 and says so"
timeout 20 "$work/other/quorpad" --copy "No such note" >"$work/missing.out" 2>"$work/missing.err"
status=$?
if [ "$status" -ne 1 ]; then
  fail_step "status $status (expected 1): $(cat "$work/missing.err")"
elif ! grep -q '"No such note"' "$work/missing.err"; then
  fail_step "the error does not name the template: $(cat "$work/missing.err")"
elif ! clipboard_is "Text of note 7"; then
  fail_step "the clipboard changed: '$(timeout 5 xclip -o -selection clipboard 2>/dev/null)'"
else
  pass_step
fi

finish
