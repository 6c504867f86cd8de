#!/usr/bin/env bash
# End-to-end run of `quorpad --pick` on Wayland: sway on its headless backend, which offers
# the virtual keyboard that wtype types with, and another Wayland program (pastetarget,
# which writes what its text box holds to a file) with the keyboard. --pick, a few letters
# and Return paste the template there, on its own and answered by a running quorpad.
#
#   wayland_pick_e2e.sh PROGRAM_FOLDER PASTETARGET
#
# Run as root, it goes on as an unprivileged user (see wl_as_unprivileged in wlsession.sh).
set -u
xs_tag=wayland-pick
. "$(dirname "$0")/xsession.sh"
. "$(dirname "$0")/wlsession.sh"
xs_bound 110 "$0" "$@"

BIN_DIR=${1:-}
TARGET=${2:-}
[ -x "$BIN_DIR/quorpad" ] && [ -x "$TARGET" ] ||
  { echo "usage: wayland_pick_e2e.sh PROGRAM_FOLDER PASTETARGET" >&2; exit 2; }
wl_as_unprivileged "$0" "$BIN_DIR" "$TARGET"

xs_total=4
xs_keep=${WAYLAND_E2E_KEEP:-}
qp_pid=""

wl_begin wtype || finish
xs_copy_program "$BIN_DIR" || finish
printf '1\x04Greeting\x04Hello {:date yyyy:}\r\n' >"$work/bin/templates.dat"
printf '[templates]\nfields=1\n' >"$work/bin/quorpad.ini"
year=$(date +%Y)
xs_start_bus || finish
wl_start_sway || finish

received="$work/received.txt"
focused() {
  timeout 5 swaymsg -t get_tree 2>/dev/null |
    jq -r '.. | objects | select(.focused? == true) | .name' | head -n 1
}
focused_is() { [ "$(focused)" = "$1" ]; }
holds() { [ "$(cat "$received" 2>/dev/null)" = "$1" ]; }

begin_step "another Wayland program has the keyboard"
xs_spawn "$work/target.log" "$TARGET" "$received"
if poll "$WAIT_SECONDS" focused_is "paste target"; then pass_step; else fail_step "focused: '$(focused)'"; finish; fi

pick_into_target() {  # the step's pick, and its check
  timeout 5 swaymsg '[title="^paste target$"] focus' >/dev/null 2>&1
  poll "$WAIT_SECONDS" focused_is "paste target" || { fail_step "the target has not the keyboard"; return; }
  # Emptied by its own keys, so that what arrives next is the pick's alone.
  wtype -s 300 -M ctrl -k a -m ctrl -k BackSpace
  poll "$WAIT_SECONDS" holds "" || { fail_step "the target could not be emptied"; return; }
  xs_spawn "$work/pick.log" "$work/bin/quorpad" --pick
  local pick_pid=$spawned_pid
  if ! poll "$WAIT_SECONDS" focused_is "Insert Template"; then
    fail_step "no picker with the keyboard (focused: '$(focused)')"
    return
  fi
  # One wtype run: each run is a keyboard of its own, which the window takes a moment after.
  wtype -s 400 -d 60 gre -k Return
  if ! poll "$WAIT_SECONDS" holds "Hello $year"; then
    fail_step "the target holds '$(cat "$received" 2>/dev/null)' (focused: '$(focused)'; --pick $(process_ended "$pick_pid" && echo ended || echo runs)); --pick said: $(cat "$work/pick.log")"
  elif ! poll "$WAIT_SECONDS" focused_is "paste target"; then
    fail_step "the keyboard is with '$(focused)'"
  elif ! poll "$WAIT_SECONDS" process_ended "$pick_pid"; then
    fail_step "--pick did not end"
  else
    pass_step
  fi
}

begin_step "--pick alone: letters and Return paste the template through wtype"
pick_into_target

begin_step "a quorpad starts"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
if poll "$WAIT_SECONDS" focused_is "quor - pad"; then pass_step; else fail_step "focused: '$(focused)'"; fi

begin_step "--pick answered by the running quorpad pastes the same"
pick_into_target

finish
