#!/usr/bin/env bash
# End-to-end run of quorpad with a D-Bus tray: Xvfb, openbox, a private session bus and
# xfce4-panel's status tray, which is a status notifier watcher and host. quorpad starts
# before the panel, as at the start of a desktop session; everything after that is checked
# through the session bus as the host itself does it: the registered item, its exported
# menu, its primary action and a click on a menu entry.
#
#   sni_tray_e2e.sh PROGRAM_FOLDER
set -u
xs_tag=sni-tray
. "$(dirname "$0")/xsession.sh"
xs_bound 110 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: sni_tray_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
xs_total=7
xs_keep=${SNI_E2E_KEEP:-}
qp_pid=""
item=""

xs_begin gdbus dbus-daemon xfce4-panel || finish
xs_copy_program "$BIN_DIR" || finish
: >"$work/bin/templates.dat"
xs_start_x || finish
xs_start_bus || finish

xs_step_start_without_tray

begin_step "once xfce4-panel starts, the item registers with its watcher, not as an X11 icon"
xs_start_xfce_panel || { fail_step "xfce4-panel did not start"; finish; }
registered() { sni_find_item "$qp_pid" && has_skip_taskbar "$main"; }
if ! poll "$WAIT_SECONDS" registered; then
  fail_step "items: '$(sni_items | tr '\n' ' ')'; window state $(net_wm_state "$main")"
  finish
fi
# An icon embedded in the panel's X11 tray would be a second viewable window of quorpad's.
if [ "$(visible_app_windows | wc -l)" -ne 1 ]; then
  fail_step "quorpad shows more windows than its main window: $(visible_app_windows | tr '\n' ' ')"
else
  log "  item $item$item_path"
  pass_step
fi

sni_step_menu

begin_step "minimizing hides the window; the item stays"
xdotool windowminimize "$main"
if ! poll "$WAIT_SECONDS" is_withdrawn "$main"; then
  fail_step "the window was not hidden: $(map_state "$main"), $(wm_state "$main")"
elif ! sni_find_item "$qp_pid"; then
  fail_step "the item went away"
else
  pass_step
fi

begin_step "the host's Activate brings the window back, still out of the taskbar"
sni_activate
if ! poll "$WAIT_SECONDS" is_viewable "$main" || ! poll "$WAIT_SECONDS" wm_state_normal "$main"; then
  fail_step "the window is $(map_state "$main"), $(wm_state "$main")"
elif ! has_skip_taskbar "$main"; then
  fail_step "the restored window is back in the taskbar: $(net_wm_state "$main")"
else
  pass_step
fi

begin_step "when the panel goes away, the hidden window comes back; the item returns with it"
xdotool windowminimize "$main"
back_in_taskbar() { is_viewable "$main" && ! has_skip_taskbar "$main"; }
reregistered() { sni_find_item "$qp_pid" && has_skip_taskbar "$main"; }
if ! poll "$WAIT_SECONDS" is_withdrawn "$main"; then
  fail_step "the window was not hidden: $(map_state "$main"), $(wm_state "$main")"
else
  xs_stop "$panel_pid"
  if ! poll "$WAIT_SECONDS" back_in_taskbar; then
    fail_step "without the panel the window is $(map_state "$main"), $(net_wm_state "$main")"
  elif ! xs_start_xfce_panel; then
    fail_step "xfce4-panel did not start again"
  elif ! poll "$WAIT_SECONDS" reregistered; then
    fail_step "items: '$(sni_items | tr '\n' ' ')'; window state $(net_wm_state "$main")"
  else
    pass_step
  fi
fi

sni_step_exit
finish
