#!/usr/bin/env bash
# End-to-end run of quorpad's recovery copies on a real X server (Xvfb) with openbox and
# trayer: text typed into an opened document survives `kill -9` and `kill -TERM`, comes back
# through the start-up offer exactly (read back through the clipboard), and a Save writes it.
#
#   recovery_e2e.sh PROGRAM_FOLDER
#
# Every wait polls with a bound; the whole run is bounded too. RECOVERY_E2E_KEEP=1 keeps the
# temporary folder with the logs and the state folder.
set -u

. "$(dirname "$0")/xsession.sh"
xs_tag=recovery_e2e
xs_bound 170 "$0" "$@"

BIN_DIR=${1:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ]; then
  echo "usage: recovery_e2e.sh PROGRAM_FOLDER   (no quorpad in '${BIN_DIR}')" >&2
  exit 2
fi

xs_total=7
xs_keep=${RECOVERY_E2E_KEEP:-}
xs_picture=recovery_e2e_failure.png
qp_pid=""

xs_begin xclip || finish
xs_copy_program "$BIN_DIR" || finish
: >"$work/bin/templates.dat"
doc="$work/doc.txt"
printf 'first line\n' >"$doc"
copies="$XDG_STATE_HOME/quorpad"

xs_start_x || finish
xs_start_tray || finish

# ----------------------------------------------------------------------------------------
# Helpers

start_quorpad() {  # starts quorpad as qp_pid; sets main once its window shows
  xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
  qp_pid=$spawned_pid
  main=""
  poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad" && main=$window
}
# The one copy in the state folder; sets copy.
one_copy() {
  local found=("$copies"/*.copy)
  [ "${#found[@]}" = 1 ] && [ -f "${found[0]}" ] || return 1
  copy=${found[0]}
}
no_copy() { ! compgen -G "$copies/*.copy" >/dev/null; }
# The text held by the copy: everything after its two lines of description.
copy_text() { tail -n +3 "$copy"; }
copy_holds() { one_copy && [ "$(copy_text)" = "$1" ]; }
# Puts the pointer's click into the document and the keyboard focus on it.
focus_document() {
  local cx cy
  timeout 5 xdotool windowactivate --sync "$main" 2>/dev/null
  read -r cx cy <<<"$(centre_of "$main")"
  click_at "$cx" "$cy" 1
}
document_is() {  # copies the whole document and compares it with TEXT
  xdotool key ctrl+a ctrl+c
  poll 2 clipboard_is "$1"
}
# Answers the start-up offer with its default button, Restore.
restore_offered_copy() {
  prompt=""
  poll "$WAIT_SECONDS" find_prompt || return 1
  timeout 5 xdotool windowactivate --sync "$prompt" 2>/dev/null
  xdotool key Return
  poll "$WAIT_SECONDS" is_gone_or_unmapped "$prompt"
}

# Starts quorpad again, restores the copy it offers and compares the document with
# $expected; passes or fails the current step, and returns 1 when the run cannot go on.
restore_in_new_quorpad() {  # restore_in_new_quorpad HOW-THE-LAST-ONE-ENDED
  if ! start_quorpad; then
    fail_step "quorpad's window did not show again"
    return 1
  fi
  if ! restore_offered_copy; then
    fail_step "no offer (a dialog titled quorpad) showed after $1, or it did not close on Return"
    return 1
  fi
  focus_document
  if poll "$WAIT_SECONDS" document_is "$expected"; then
    pass_step
  else
    fail_step "the document holds $(timeout 5 xclip -o -selection clipboard 2>/dev/null | od -c | head -n 3)"
    return 1
  fi
}

expected=$'first line\ntyped before the crash'

# ----------------------------------------------------------------------------------------
# Step 1: open a document and type a line; the copy appears within a few seconds, 0600.

begin_step "a typed line reaches a recovery copy (mode 0600) within a few seconds"
if ! start_quorpad; then
  fail_step "quorpad's window did not show"
  finish
fi
step_ok=0
if ! open_tray_menu; then
  fail_step "the tray menu did not open"
else
  choose_tray_item "Open..."
  prompt=""
  if ! poll "$WAIT_SECONDS" find_prompt "Open File"; then
    fail_step "the Open dialog did not show"
  else
    timeout 5 xdotool windowactivate --sync "$prompt" 2>/dev/null
    xdotool type --delay 20 "$doc"
    xdotool key Return
    if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$prompt"; then
      fail_step "the Open dialog stayed open"
    else
      focus_document
      xdotool key ctrl+End
      xdotool type --delay 20 "typed before the crash"
      if ! poll "$WAIT_SECONDS" copy_holds "$expected"; then
        fail_step "no copy holding the typed text in $copies: $(ls -la "$copies" 2>&1 | tr '\n' ' ')"
      elif [ "$(stat -c %a "$copy")" != 600 ]; then
        fail_step "the copy's mode is $(stat -c %a "$copy"), not 600"
      else
        step_ok=1
        pass_step
      fi
    fi
  fi
fi
[ "$step_ok" = 1 ] || finish

# ----------------------------------------------------------------------------------------
# Step 2: kill -9, start again: the offer shows and Restore brings the exact text back.

begin_step "after kill -9 a new quorpad offers the copy and Restore brings the text back"
kill -KILL "$qp_pid"
poll "$WAIT_SECONDS" process_ended "$qp_pid"
xs_reap "$qp_pid"
restore_in_new_quorpad "kill -9" || finish

# ----------------------------------------------------------------------------------------
# Step 3: Save writes the restored text to its file, and the copy goes.

begin_step "Save writes the restored text to the opened file; no copy is left"
if ! open_tray_menu; then
  fail_step "the tray menu did not open"
else
  choose_tray_item Save
  file_is() { [ "$(cat "$doc")" = "$expected" ]; }
  if ! poll "$WAIT_SECONDS" file_is; then
    fail_step "the file holds $(od -c "$doc" | head -n 3)"
  elif ! poll "$WAIT_SECONDS" no_copy; then
    fail_step "a copy is still there after the Save: $(ls "$copies")"
  else
    pass_step
  fi
fi

# ----------------------------------------------------------------------------------------
# Step 4: kill -TERM right after a key ends quorpad with status 0, its copy current and its
# tray icon gone.

begin_step "kill -TERM right after typing: status 0, the copy current, the icon gone"
expected=$'first line\ntyped before the crash, and more'
focus_document
xdotool key ctrl+End
xdotool type --delay 20 ", and more"
# Once the keys have reached the document, and well before the copy's own delay has passed
# under normal load, so that the ending is what brings the copy up to date.
poll "$WAIT_SECONDS" document_is "$expected" || log "  the document does not show the typed text yet"
kill -TERM "$qp_pid"
copy_current_and_icon_gone() { copy_holds "$expected" && icon_absent; }
failed_before=$failed
xs_check_ended copy_current_and_icon_gone \
  "the copy does not hold the text typed last, or the tray icon is still in trayer's panel" SIGTERM
if [ "$failed" != "$failed_before" ]; then
  log "  the copy holds: $( (one_copy && copy_text) | od -c | head -n 3)"
  finish
fi

# ----------------------------------------------------------------------------------------
# Step 5: the copy left by SIGTERM is offered and restored.

begin_step "the copy kept at SIGTERM is offered and restored"
restore_in_new_quorpad SIGTERM || finish

# ----------------------------------------------------------------------------------------
# Step 6: Exit answered No ends with status 0 and leaves no copy behind.

begin_step "Exit answered No ends quorpad with status 0 and leaves no copy"
if ! open_tray_menu; then
  fail_step "the tray menu did not open"
else
  choose_tray_item Exit
  prompt=""
  if ! poll "$WAIT_SECONDS" find_prompt; then
    fail_step "Exit did not ask about the unsaved text"
  else
    timeout 5 xdotool windowactivate --sync "$prompt" 2>/dev/null
    xdotool key n
    xs_check_ended no_copy "a copy is left behind: $(ls "$copies")"
  fi
fi

# ----------------------------------------------------------------------------------------
# Step 7: the file on disk is still what was saved, and a new start offers nothing.

begin_step "a new start offers nothing and the file keeps what was saved"
if ! start_quorpad; then
  fail_step "quorpad's window did not show"
else
  prompt=""
  if poll 4 find_prompt; then
    fail_step "a dialog titled quorpad showed at start"
  elif [ "$(cat "$doc")" != $'first line\ntyped before the crash' ]; then
    fail_step "the file changed: $(od -c "$doc" | head -n 3)"
  else
    pass_step
  fi
fi

finish
