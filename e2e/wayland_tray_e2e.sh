#!/usr/bin/env bash
# End-to-end run of quorpad on Wayland: sway on its headless backend with waybar's tray,
# which is a status notifier watcher and host, and quorpad on Qt's Wayland platform. The
# window is looked at through sway's tree and window events, the tray item through the
# session bus as waybar itself sees it.
#
#   wayland_tray_e2e.sh PROGRAM_FOLDER
#
# Run as root, it goes on as an unprivileged user (see wl_as_unprivileged in wlsession.sh).
set -u
xs_tag=wayland-tray
. "$(dirname "$0")/xsession.sh"
. "$(dirname "$0")/wlsession.sh"
xs_bound 110 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: wayland_tray_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
wl_as_unprivileged "$0" "$BIN_DIR"

xs_total=7
xs_keep=${WAYLAND_E2E_KEEP:-}
qp_pid=""
item=""

wl_begin wtype || finish
xs_copy_program "$BIN_DIR" || finish
: >"$work/bin/templates.dat"
xs_start_bus || finish
wl_start_sway || finish
wl_start_waybar || finish
# Every window that comes, changes its title or goes, for the whole run.
xs_spawn "$work/window-events" swaymsg -t subscribe -m '["window"]'

main_views() { wl_views | awk -F '\t' -v pid="$qp_pid" '$1 == pid'; }
one_main_view() {
  local views
  views=$(main_views)
  [ "$(wc -l <<<"$views")" -eq 1 ] && [ "$(cut -f 2-4 <<<"$views")" = $'quorpad\tquor - pad\ttrue' ]
}
main_hidden() { [ "$(main_views | cut -f 4)" = false ]; }

begin_step "quorpad maps one window 'quor - pad' with the app id quorpad"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" one_main_view; then
  fail_step "quorpad's windows: '$(main_views | tr '\t\n' ',;')'"
  finish
fi
pass_step

# The keyboard opens the templates popup at the caret; as a popup of the window it takes the
# keys that follow, into its File submenu, whose Save As... opens the save dialog. A popup
# made a top-level window instead would show up among sway's windows (see the last step).
begin_step "the templates popup and its File submenu open as popups and take the keys"
save_dialog() { main_views | awk -F '\t' '$3 == "Save As" && $4 == "true"' | grep -q .; }
only_main() { one_main_view && ! save_dialog; }
# One wtype run for all the keys: each run is a keyboard of its own, and the window gets
# the focus back only a moment after a new keyboard shows up.
wtype -s 500 -k Menu -s 800 -d 80 -k Up -k Up -k Up -k Right -k Down -k Down -k Down -k Return
if ! poll "$WAIT_SECONDS" save_dialog; then
  fail_step "no 'Save As' dialog came; quorpad's windows: '$(main_views | tr '\t\n' ',;')'"
else
  wtype -s 500 -k Escape
  if ! poll "$WAIT_SECONDS" only_main; then
    fail_step "the dialog stayed: '$(main_views | tr '\t\n' ',;')'"
  else
    pass_step
  fi
fi

begin_step "the item registers with waybar's watcher"
if ! poll "$WAIT_SECONDS" sni_find_item "$qp_pid"; then
  fail_step "items: '$(sni_items | tr '\n' ' ')'"
  finish
fi
log "  item $item$item_path"
pass_step

sni_step_menu

# sway has no minimized state: a window put away in its scratchpad is off screen without
# being told, as a minimized window is on compositors that do not report it.
begin_step "a window the compositor put away comes back on Activate"
timeout 5 swaymsg "[pid=$qp_pid] move scratchpad" >/dev/null
if ! poll "$WAIT_SECONDS" main_hidden; then
  fail_step "sway did not put the window away: '$(main_views | tr '\t\n' ',;')'"
else
  sni_activate
  if ! poll "$WAIT_SECONDS" one_main_view; then
    fail_step "after Activate quorpad's windows are: '$(main_views | tr '\t\n' ',;')'"
  else
    pass_step
  fi
fi

# A host that draws no exported menu asks the item to show its own; quorpad's menu is shown
# by the hosts, so nothing may open (step 6 looks for strays).
bus_call "$item" "$item_path" org.kde.StatusNotifierItem.ContextMenu 10 10 >/dev/null
sleep 0.5

sni_step_exit

begin_step "no other window of quorpad's ever showed (no stray 'quorpad' top-level)"
# The window events name each window's owner; a title other than the main window's or the
# save dialog's (or none yet) is a stray.
strays=$(jq -r --argjson pid "${qp_pid:-0}" \
  'select(.container.pid == $pid)
   | select([.container.name] | inside(["quor - pad", "Save As", null]) | not)
   | "\(.change) \(.container.name)"' "$work/window-events" 2>/dev/null)
if [ ! -s "$work/window-events" ]; then
  fail_step "no window events were recorded"
elif [ -n "$strays" ]; then
  fail_step "other windows: $(tr '\n' ';' <<<"$strays")"
else
  pass_step
fi
finish
