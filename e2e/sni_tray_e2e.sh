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

begin_step "without a tray, 'quor - pad' shows with a taskbar entry"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad" || { fail_step "no main window"; finish; }
main=$window
if ! poll "$WAIT_SECONDS" wm_state_normal "$main"; then
  fail_step "the window is not in NormalState: $(wm_state "$main")"
elif has_skip_taskbar "$main"; then
  fail_step "the window is left out of the taskbar with no tray to bring it back"
else
  pass_step
fi

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

begin_step "the item's exported menu holds the tray menu, Configuration disabled"
expected=$'New\nOpen...\nSave\nSave As...\n-\nConfiguration (disabled)\nAbout\n-\nExit'
sni_menu >"$work/menu"  # not in a subshell: it sets menu_path
menu=$(cat "$work/menu")
if [ "$(cut -f 2 <<<"$menu")" != "$expected" ]; then
  fail_step "menu at '${menu_path:-}' reads: $(cut -f 2 <<<"$menu" | tr '\n' '|')"
else
  pass_step
fi

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

begin_step "a click on Exit in the exported menu ends quorpad with status 0 and no item left"
exit_id=$(awk -F '\t' '$2 == "Exit" {print $1}' <<<"$menu")
sni_click "$exit_id"
if ! poll "$WAIT_SECONDS" process_ended "$qp_pid"; then
  fail_step "quorpad is still running ${WAIT_SECONDS}s after Exit (entry $exit_id)"
else
  xs_reap "$qp_pid"
  status=$?
  if [ "$status" -ne 0 ]; then
    fail_step "quorpad ended with status $status"
  elif ! poll "$WAIT_SECONDS" sni_item_gone; then
    fail_step "the watcher still lists the item: $(sni_items | tr '\n' ' ')"
  else
    pass_step
  fi
fi
finish
