#!/usr/bin/env bash
# End-to-end run of quorpad with a D-Bus tray: Xvfb, openbox, a private session bus and
# xfce4-panel's status tray, which is a status notifier watcher and host. quorpad starts
# before the panel, as at the start of a desktop session; everything after that is checked
# through the session bus as the host itself does it: the registered item, its exported
# menu, its primary action and a click on a menu entry. A host keeps that menu clickable
# while quorpad shows a dialog: commands from it never stack a second dialog, and Exit
# cancels the open one (the start-up recovery question included) before its usual steps.
#
#   sni_tray_e2e.sh PROGRAM_FOLDER
set -u
xs_tag=sni-tray
. "$(dirname "$0")/xsession.sh"
xs_bound 110 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: sni_tray_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
xs_total=9
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

menu_id() { awk -F '\t' -v label="$1" '$2 == label {print $1}' <<<"$menu"; }
dialogs_titled() { xdotool search --all --onlyvisible --pid "$qp_pid" --name "^$1\$" 2>/dev/null | wc -l; }
# A later call on the bus is answered only once the menu's earlier events were handled.
bus_round_trip() { sni_menu >/dev/null; }

begin_step "Open... chosen twice in the exported menu shows one 'Open File' dialog"
sni_click "$(menu_id 'Open...')"
if ! poll "$WAIT_SECONDS" find_prompt "Open File"; then
  fail_step "no 'Open File' dialog came"
else
  sni_click "$(menu_id 'Open...')"
  sni_click "$(menu_id 'Save As...')"
  bus_round_trip
  if [ "$(dialogs_titled 'Open File')" -ne 1 ] || [ "$(dialogs_titled 'Save As')" -ne 0 ]; then
    fail_step "$(dialogs_titled 'Open File') 'Open File' and $(dialogs_titled 'Save As') 'Save As' dialogs"
  else
    # The dialog has the keyboard (Escape reaches it).
    poll "$WAIT_SECONDS" eval '[ "$(xdotool getwindowfocus)" = "$prompt" ]'
    xdotool key Escape
    open_dialog_gone() { [ "$(dialogs_titled 'Open File')" -eq 0 ]; }
    if ! poll "$WAIT_SECONDS" open_dialog_gone; then
      fail_step "Escape did not close the dialog"
    else
      pass_step
    fi
  fi
fi

begin_step "Exit while 'Save As' is open cancels it, asks about the changes, then ends with 0"
typed_focus=$(xdotool getwindowfocus)
xdotool type --delay 20 'unsaved words'
sni_click "$(menu_id 'Save As...')"
if [ "$typed_focus" != "$main" ]; then
  fail_step "the keyboard was not in the main window after the dialog ($typed_focus, not $main)"
elif ! poll "$WAIT_SECONDS" find_prompt "Save As"; then
  fail_step "no 'Save As' dialog came"
else
  sni_click "$(menu_id Exit)"
  asked() { [ "$(dialogs_titled 'Save As')" -eq 0 ] && find_prompt quorpad; }
  if ! poll "$WAIT_SECONDS" asked; then
    fail_step "after Exit: $(dialogs_titled 'Save As') 'Save As' dialog(s), and no save prompt$(
      process_ended "$qp_pid" && echo '; quorpad ended')"
  else
    xdotool key --window "$prompt" alt+n
    xs_check_ended sni_item_gone "the watcher still lists the item after quorpad ended"
  fi
fi

begin_step "Exit while the start-up recovery question is open ends with 0 and keeps the copy"
xs_spawn "$work/quorpad2.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
copies() { find "$XDG_STATE_HOME/quorpad" -maxdepth 1 -type f -name '*.copy' 2>/dev/null | wc -l; }
copy_written() { [ "$(copies)" -ge 1 ]; }
one_copy_left() { [ "$(copies)" -eq 1 ]; }
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "quorpad did not start again"
else
  xdotool type --delay 20 'left behind'
  if ! poll "$WAIT_SECONDS" copy_written; then
    fail_step "no recovery copy was written"
  else
    kill -KILL "$qp_pid"
    xs_reap "$qp_pid"
    xs_spawn "$work/quorpad3.log" "$work/bin/quorpad"
    qp_pid=$spawned_pid
    if ! poll "$WAIT_SECONDS" find_prompt quorpad || ! poll "$WAIT_SECONDS" sni_find_item "$qp_pid"; then
      fail_step "no recovery question, or no item: '$(sni_items | tr '\n' ' ')'"
    else
      sni_menu >"$work/menu"
      menu=$(cat "$work/menu")
      # A later start is answered while the question is open.
      list_status=0
      timeout 5 "$work/bin/quorpad" --list >/dev/null 2>&1 || list_status=$?
      sni_click "$(menu_id Exit)"
      if [ "$list_status" -ne 0 ]; then
        fail_step "a later start's --list got no answer during the question (status $list_status)"
      else
        xs_check_ended one_copy_left "the recovery copy went: $(ls -A "$XDG_STATE_HOME/quorpad" | tr '\n' ' ')"
      fi
    fi
  fi
fi
finish
