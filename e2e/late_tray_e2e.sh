#!/usr/bin/env bash
# End-to-end run of quorpad started before any notification area exists: the window keeps
# its taskbar entry and minimizes normally; once trayer starts, the icon docks there and the
# window leaves the taskbar and hides in the tray from then on; when the notification area
# goes away again, a window hidden in it comes back on screen with a taskbar entry.
#
#   late_tray_e2e.sh PROGRAM_FOLDER
set -u
xs_tag=late-tray
. "$(dirname "$0")/xsession.sh"
xs_bound 120 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: late_tray_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
xs_total=6
qp_pid=""

xs_begin || finish
xs_copy_program "$BIN_DIR" || finish
: >"$work/bin/templates.dat"
xs_start_x || finish

xs_step_start_without_tray

begin_step "minimizing without a tray iconifies the window rather than hiding it"
xdotool windowminimize "$main"
if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$main"; then
  fail_step "the window is still $(map_state "$main")"
elif poll 1 is_withdrawn "$main"; then  # a hide would follow the iconify at once
  fail_step "the window was withdrawn, with no icon to bring it back"
elif ! poll "$WAIT_SECONDS" wm_state_iconic "$main"; then
  fail_step "the window did not become iconic: $(wm_state "$main")"
elif ! process_alive "$qp_pid"; then
  fail_step "quorpad ended when its window was minimized"
else
  pass_step
fi

begin_step "once trayer starts, the icon docks there and the window leaves the taskbar"
# quorpad looks for a notification area every 2 s: both happen within the one bound.
icon=""
tray_taken_up() { find_icon && has_skip_taskbar "$main"; }
if ! xs_start_tray; then
  fail_step "trayer did not start"
  finish
elif ! poll "$WAIT_SECONDS" tray_taken_up; then
  fail_step "after ${WAIT_SECONDS}s: icon '$icon'; window state $(net_wm_state "$main")"
  [ -n "$icon" ] || finish
else
  pass_step
fi

begin_step "a double click on the icon restores the window, out of the taskbar"
click_at $(centre_of "$icon") 1 2
if ! poll "$WAIT_SECONDS" is_viewable "$main" || ! poll "$WAIT_SECONDS" wm_state_normal "$main"; then
  fail_step "the window is $(map_state "$main"), $(wm_state "$main")"
elif ! has_skip_taskbar "$main"; then
  fail_step "the restored window is back in the taskbar: $(net_wm_state "$main")"
else
  pass_step
fi

begin_step "minimizing now hides the window in the tray"
xdotool windowminimize "$main"
if ! poll "$WAIT_SECONDS" is_withdrawn "$main"; then
  fail_step "the window was not hidden: $(map_state "$main"), $(wm_state "$main")"
elif icon_absent || ! process_alive "$qp_pid"; then
  fail_step "the icon or quorpad went away"
else
  pass_step
fi

begin_step "when the tray goes away, the hidden window comes back with a taskbar entry"
xs_stop "$trayer_pid"
back_in_taskbar() { is_viewable "$main" && ! has_skip_taskbar "$main"; }
if ! poll "$WAIT_SECONDS" back_in_taskbar; then
  fail_step "the window is $(map_state "$main"), $(wm_state "$main"), $(net_wm_state "$main")"
elif ! process_alive "$qp_pid"; then
  fail_step "quorpad ended with its tray"
else
  pass_step
fi
finish
