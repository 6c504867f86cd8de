# A private X session for the end-to-end scripts, sourced by them (and by scripts/screenshot):
# an Xvfb server of its own behind a cookie, openbox, and on request trayer's notification
# area, with a home and XDG folders of its own so that nothing of the person running it leaks
# in or gets written to. Everything it starts is stopped on the way out, and only that.
#
#   xs_tag=name             prefix of the log lines and of the final count (default e2e)
#   xs_total=N              the number of steps a run should reach
#   xs_keep=1               keeps the temporary folder $work
#   xs_bound SECONDS "$0" "$@"   re-runs the script under a time bound
#   xs_begin [TOOLS...]     checks the tools; makes $work and the private environment
#   xs_need TOOLS... / xs_prepare   the same in two parts, for sessions other than X11
#   xs_copy_program FOLDER  copies the built program into $work/bin
#   xs_start_x [WxH]        Xvfb and openbox (xfwm4 with XS_WM=xfwm4); sets DISPLAY, wm_pid
#   xs_start_tray [ARGS...] trayer; sets trayer_pid and panel
#   xs_start_bus            a private D-Bus session bus; sets DBUS_SESSION_BUS_ADDRESS
#   xs_start_xfce_panel     xfce4-panel with only its status tray (a D-Bus tray host)
#   sni_find_item PID       finds the status notifier item of process PID; sets item
#   sni_menu / sni_click ID / sni_activate   its exported menu and its primary action
#   xs_spawn LOG CMD...     starts CMD in the background; sets spawned_pid
#   begin_step/pass_step/fail_step/finish   counting of the run's steps
#   xs_step_start_without_tray   the step that starts quorpad with no tray; sets qp_pid, main
#   xs_check_ended GONE WHAT [AFTER]  after Exit: status 0, and GONE holds
#   sni_step_menu / sni_step_exit   the steps of the D-Bus tray runs on the item's menu
# Each wait polls with a bound. Works under `set -eu` as well as without.

xs_tag=${xs_tag:-e2e}
xs_total=${xs_total:-0}
WAIT_SECONDS=${WAIT_SECONDS:-10}  # the bound of every single poll
started_pids=()                   # killed in reverse order on the way out
work=""
passed=0
failed=0
step_no=0
step_name=""

log() { printf '%s: [%3ds] %s\n' "$xs_tag" "$SECONDS" "$*"; }
indent() { sed "s/^/$xs_tag:     /"; }

xs_bound() {  # xs_bound SECONDS SCRIPT ARGS...: on overrun SIGTERM, which still cleans up
  local limit=$1
  shift
  if [ "${XS_BOUNDED:-}" != 1 ]; then XS_BOUNDED=1 exec timeout -k 10 "$limit" bash "$@"; fi
  unset XS_BOUNDED
}

# ----------------------------------------------------------------------------------------
# Steps. The first failure leaves evidence: the output and the windows of the program
# started as qp_pid (its output in $work/quorpad.log) and, where ImageMagick is installed,
# a picture of the screen, $xs_picture in the current folder.

begin_step() {
  step_no=$((step_no + 1))
  step_name=$1
  log "step $step_no: $step_name"
}
pass_step() {
  passed=$((passed + 1))
  log "  PASS step $step_no: $step_name"
}
fail_step() {
  failed=$((failed + 1))
  log "  FAIL step $step_no: $step_name: $*"
  [ "$failed" != 1 ] || save_evidence || true
}
save_evidence() {
  local w
  if [ -n "${qp_pid:-}" ] && xs_started "$qp_pid" && process_ended "$qp_pid"; then
    xs_reap "$qp_pid"
    log "  quorpad is no longer running (status $?)"
  fi
  if [ -n "$work" ] && [ -s "$work/quorpad.log" ]; then
    log "  quorpad's output so far:"
    indent <"$work/quorpad.log" | tail -n 40
  fi
  [ -n "${DISPLAY:-}" ] || return 0
  if [ -n "${qp_pid:-}" ]; then
    log "  quorpad's windows:"
    for w in $(xdotool search --pid "$qp_pid" 2>/dev/null); do
      log "    $w '$(xdotool getwindowname "$w" 2>/dev/null)' $(map_state "$w") $(geometry "$w")"
    done
  fi
  local picture="$PWD/${xs_picture:-${xs_tag}_failure.png}"
  if command -v import >/dev/null && timeout 10 import -window root "$picture" 2>/dev/null; then
    log "  screen saved to $picture"
  fi
}
# Ends the run: steps that were never reached count as failed.
finish() {
  local missing=$((xs_total - passed - failed))
  if [ "$missing" -gt 0 ]; then
    log "$missing step(s) not reached"
    failed=$((failed + missing))
  fi
  echo "$xs_tag: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && exit 0
  exit 1
}

# After Exit (or AFTER, what ended it), quorpad ($qp_pid) ends with status 0, and then GONE
# (a command) holds; WHAT says what is left where it does not. Passes or fails the current
# step.
xs_check_ended() {  # xs_check_ended GONE WHAT [AFTER]
  local status
  if ! poll "$WAIT_SECONDS" process_ended "$qp_pid"; then
    fail_step "quorpad is still running ${WAIT_SECONDS}s after ${3:-Exit}"
    return
  fi
  xs_reap "$qp_pid"
  status=$?
  if [ "$status" -ne 0 ]; then
    fail_step "quorpad ended with status $status"
  elif ! poll "$WAIT_SECONDS" "$1"; then
    fail_step "$2"
  else
    pass_step
  fi
}

# quorpad started where no notification area exists yet keeps its taskbar entry.
xs_step_start_without_tray() {
  begin_step "without a notification area, 'quor - pad' shows with a taskbar entry"
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
}

# ----------------------------------------------------------------------------------------
# Processes and cleanup

xs_spawn() {  # xs_spawn LOG CMD...
  local out=$1
  shift
  "$@" >"$out" 2>&1 &
  spawned_pid=$!
  started_pids+=("$spawned_pid")
}
# Waits for a started process that has ended and forgets it, so that its number, free for
# reuse, is never signalled again; returns the process's status.
xs_reap() {
  local i status=0
  wait "$1" 2>/dev/null || status=$?
  for i in "${!started_pids[@]}"; do [ "${started_pids[i]}" != "$1" ] || unset 'started_pids[i]'; done
  started_pids=("${started_pids[@]}")
  return "$status"
}
xs_started() { [[ " ${started_pids[*]} " == *" $1 "* ]]; }
xs_stop() {  # TERM, a bounded wait, then KILL; nothing for a process already reaped
  xs_started "$1" || return 0
  if kill -0 "$1" 2>/dev/null; then
    kill -TERM "$1" 2>/dev/null || true
    poll 3 process_ended "$1" || kill -KILL "$1" 2>/dev/null || true
  fi
  xs_reap "$1" || true
}
xs_cleanup() {  # stops the started processes, the last started first
  while [ "${#started_pids[@]}" -gt 0 ]; do xs_stop "${started_pids[-1]}"; done
  if [ -n "$work" ] && [ -d "$work" ]; then
    if [ "${xs_keep:-}" = 1 ]; then log "kept $work"; else rm -rf -- "$work"; fi
  fi
}
xs_on_signal() {
  log "interrupted (the run's time bound was reached?) during step $step_no: $step_name"
  trap - EXIT
  xs_cleanup
  [ "$xs_total" -gt 0 ] && echo "$xs_tag: $passed passed, $((xs_total - passed)) failed"
  exit 1
}

# ----------------------------------------------------------------------------------------
# Polling and window helpers: a poll runs its condition every 0.1 s until it holds or the
# bound passes.

poll() {  # poll SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

process_alive() { kill -0 "$1" 2>/dev/null; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }
map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/{print $3}'; }
is_viewable() { [ "$(map_state "$1")" = IsViewable ]; }
is_gone_or_unmapped() { local s; s=$(map_state "$1"); [ -z "$s" ] || [ "$s" = IsUnMapped ]; }
is_override_redirect() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
net_wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
has_skip_taskbar() { net_wm_state "$1" | grep -q '_NET_WM_STATE_SKIP_TASKBAR'; }
wm_state() { xprop -id "$1" WM_STATE 2>&1 | tr '\n' ' '; }
wm_state_normal() { wm_state "$1" | grep -q 'window state: Normal'; }
wm_state_iconic() { wm_state "$1" | grep -q 'window state: Iconic'; }
# ICCCM: a window taken back by its program (hidden, not iconified) has no WM_STATE, or
# WithdrawnState.
is_withdrawn() {
  local out
  out=$(xprop -id "$1" WM_STATE 2>/dev/null) || return 1
  case $out in *"not found"* | *Withdrawn*) return 0 ;; esac
  return 1
}

# Geometry of a window as "X Y W H" in root coordinates.
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2}
    END { if (w != "") print x, y, w, h }'
}
centre_of() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")" || true
  [ -n "${h:-}" ] || return 1
  echo "$((x + w / 2)) $((y + h / 2))"
}

click_at() {  # click_at X Y BUTTON [REPEAT]
  xdotool mousemove "$1" "$2" click --repeat "${4:-1}" --delay 80 "$3"
}

# A viewable window of process PID titled exactly TITLE: find_window PID TITLE sets window.
find_window() {
  local w
  for w in $(xdotool search --all --pid "$1" --name "^$2\$" 2>/dev/null); do
    if is_viewable "$w"; then
      window=$w
      return 0
    fi
  done
  return 1
}

# quorpad's windows that are viewable now, one id (decimal) a line, sorted.
visible_app_windows() { xdotool search --onlyvisible --pid "$qp_pid" 2>/dev/null | sort; }
# An open popup menu of quorpad's: a viewable override-redirect window other than the tray
# icon, and not among BEFORE (a list as above) where given; sets popup.
find_popup() {  # find_popup [BEFORE]
  local w
  for w in $(comm -13 <(echo "${1:-}") <(visible_app_windows)); do
    if is_override_redirect "$w" && [ "$w" != "$((${icon:-0}))" ]; then
      popup=$w
      return 0
    fi
  done
  return 1
}

# quorpad's message box (the save question, say): a managed window of quorpad's titled
# quorpad, or TITLE where given (a file dialog's), other than its tray icon; sets prompt.
# Only the window manager's clients count: a widget with a native window of its own inside
# a dialog carries the program's name too.
managed_windows() { xprop -root _NET_CLIENT_LIST 2>/dev/null | sed 's/.*#//; s/,/ /g'; }
find_prompt() {  # find_prompt [TITLE]
  local w managed
  managed=" $(for w in $(managed_windows); do printf '%s ' "$((w))"; done)"
  for w in $(xdotool search --all --onlyvisible --pid "$qp_pid" --name "^${1:-quorpad}\$" 2>/dev/null); do
    [ "$w" = "$((${icon:-0}))" ] && continue
    [[ "$managed" == *" $w "* ]] || continue
    is_override_redirect "$w" && continue
    prompt=$w
    return 0
  done
  return 1
}

# A second managed window of quorpad's titled TITLE, other than EXCEPT (a file dialog's
# question, say, titled as the dialog); sets asking.
find_another() {  # find_another TITLE EXCEPT
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$qp_pid" --name "^$1\$" 2>/dev/null); do
    [ "$w" != "$2" ] && { asking=$w; return 0; }
  done
  return 1
}
# quorpad's managed, viewable windows, one decimal id a line.
shown_windows() {
  local w managed
  managed=" $(for w in $(managed_windows); do printf '%s ' "$((w))"; done)"
  for w in $(visible_app_windows); do [[ "$managed" == *" $w "* ]] && echo "$w"; done
}
# quorpad's shown window highest in the window manager's stacking order.
front_window() {
  local w shown
  shown=" $(shown_windows | tr '\n' ' ') "
  for w in $(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed 's/.*#//; s/,/ /g'); do
    [[ "$shown" == *" $((w)) "* ]] && echo "$((w))"
  done | tail -n 1
}
# WINDOW is quorpad's front window and has the keyboard.
in_front() { [ "$(front_window)" = "$1" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# quorpad's docked tray icon: a viewable window of class quorpad inside trayer's panel.
# Chooses the item LABEL in the open tray menu from the keyboard: the menu's enabled items in
# their order (Down from no selection reaches the first; Up wraps to the last).
tray_items=(New "Open..." Save "Save As..." About Exit)
choose_tray_item() {  # choose_tray_item LABEL
  local i keys=()
  for ((i = 0; i < ${#tray_items[@]}; i++)); do [ "${tray_items[$i]}" = "$1" ] && break; done
  if ((i == ${#tray_items[@]} - 1)); then
    keys=(Up)
  else
    for ((; i >= 0; i--)); do keys+=(Down); done
  fi
  xdotool key "${keys[@]}" Return
}
# Whether the clipboard holds TEXT exactly.
clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
# Right-clicks quorpad's tray icon (found first) and waits for its menu: sets popup; returns 1
# when no icon or no menu shows.
open_tray_menu() {
  local before
  before=$(visible_app_windows)
  popup=""
  poll "$WAIT_SECONDS" find_icon || return 1
  read -r icx icy <<<"$(centre_of "$icon")"
  click_at "$icx" "$icy" 3
  poll "$WAIT_SECONDS" find_popup "$before"
}
find_icon() {
  local id
  id=$(xwininfo -tree -id "$panel" 2>/dev/null | awk '/\("quorpad" "quorpad"\)/ {print $1; exit}')
  [ -n "$id" ] && is_viewable "$id" || return 1
  icon=$id
}
icon_absent() { ! xwininfo -tree -id "$panel" 2>/dev/null | grep -q '("quorpad" "quorpad")'; }

# ----------------------------------------------------------------------------------------
# The session

xs_need() {  # xs_need TOOLS...: fails, saying so, where a tool is missing
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null && continue
    log "missing tool '$tool' (scripts/install-deps installs it)"
    return 1
  done
}

# The temporary folder $work and a private environment for whatever display the run uses.
xs_prepare() {
  trap xs_cleanup EXIT
  trap xs_on_signal TERM INT HUP
  work=$(mktemp -d "${TMPDIR:-/tmp}/quorpad-$xs_tag.XXXXXX") || { log "no temporary folder"; return 1; }
  mkdir -p "$work/home" "$work/runtime" "$work/config" "$work/cache" "$work/data" "$work/state"
  chmod 700 "$work/runtime"
  export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
  export XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
  unset QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS SESSION_MANAGER
  # No session bus unless the run starts one (xs_start_bus): then the tray icon goes
  # through the X11 notification area, not D-Bus.
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus"
  # GTK programs (the panels) look for an accessibility bus and desktop settings services.
  export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory GIO_USE_VFS=local
}

xs_begin() {  # xs_begin [MORE-TOOLS...]
  xs_need Xvfb xauth mcookie openbox trayer xdotool xprop xwininfo "$@" || return 1
  xs_prepare || return 1
  # The X11 platform, whatever the caller had (offscreen would have no tray at all).
  export QT_QPA_PLATFORM=xcb
}

# A program folder of its own, $work/bin: the program and the engine library from FOLDER, so
# that the store beside the built program is never touched.
xs_copy_program() {  # xs_copy_program FOLDER
  mkdir -p "$work/bin"
  cp -P "$1/quorpad" "$1"/libtemplate.so* "$work/bin/" && return 0
  log "could not copy the program folder $1"
  return 1
}

display_known() { grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; }
server_answers() { xprop -root _NET_SUPPORTED >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

xs_start_x() {  # xs_start_x [WxH]
  # The server admits only holders of this session's cookie.
  export XAUTHORITY="$work/Xauthority"
  local cookie
  cookie=$(mcookie)
  xauth -q -f "$XAUTHORITY" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null || true
  xs_spawn "$work/xvfb.log" Xvfb -displayfd 3 -nolisten tcp -noreset -auth "$XAUTHORITY" \
    -screen 0 "${1:-1280x800}x24" 3>"$work/display"
  if ! poll "$WAIT_SECONDS" display_known; then
    log "Xvfb did not start:"
    indent <"$work/xvfb.log"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$work/display")"
  xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null || true
  if ! poll "$WAIT_SECONDS" server_answers; then
    log "the X server on $DISPLAY does not answer"
    return 1
  fi
  log "X server on $DISPLAY"
  # openbox, or Xfce's window manager where XS_WM=xfwm4 (no compositing on Xvfb).
  case ${XS_WM:-openbox} in
    xfwm4)
      # Its settings come through xfconfd on a session bus.
      if ! bus_answers; then xs_start_bus || return 1; fi
      xs_start_xfconfd || return 1
      xs_spawn "$work/wm.log" xfwm4 --compositor=off --sm-client-disable
      ;;
    *) xs_spawn "$work/wm.log" openbox --sm-disable ;;
  esac
  wm_pid=$spawned_pid
  if ! poll "$WAIT_SECONDS" wm_ready; then
    log "${XS_WM:-openbox} did not take the screen"
    indent <"$work/wm.log"
    return 1
  fi
}

# trayer's panel along the bottom edge, unless other ARGS for trayer are given.
xs_start_tray() {  # xs_start_tray [TRAYER-ARGS...]
  [ $# -gt 0 ] || set -- --edge bottom --align right --widthtype pixel --width 200 \
    --heighttype pixel --height 32 --SetDockType true --SetPartialStrut true
  xs_spawn "$work/trayer.log" trayer "$@"
  trayer_pid=$spawned_pid
  if ! poll "$WAIT_SECONDS" find_window "$trayer_pid" panel; then
    log "trayer's panel did not show"
    indent <"$work/trayer.log"
    return 1
  fi
  panel=$window
  log "trayer's panel is window $panel"
}

# ----------------------------------------------------------------------------------------
# The session bus and the status notifier trays on it, seen through gdbus as a tray host
# sees them.

bus_call() {  # bus_call DEST PATH METHOD ARGS...: gdbus's answer, bounded in time
  local dest=$1 path=$2 method=$3
  shift 3
  timeout 10 gdbus call --session --dest "$dest" --object-path "$path" --method "$method" \
    -- "$@" 2>/dev/null
}
bus_get() {  # bus_get DEST PATH INTERFACE PROPERTY
  bus_call "$1" "$2" org.freedesktop.DBus.Properties.Get "$3" "$4"
}
bus_answers() { bus_call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.GetId >/dev/null; }
bus_has_name() {
  bus_call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}
bus_pid_of() {  # the process that owns bus name $1
  bus_call org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID "$1" | grep -o '[0-9][0-9]*' | tail -n 1
}

# A session bus of its own that starts no service by itself, so that everything on it is a
# process this run started (and stops).
xs_start_bus() {
  local socket="$work/runtime/bus"
  cat >"$work/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
  xs_spawn "$work/bus.log" dbus-daemon --config-file="$work/bus.conf" --nofork
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$socket"
  if ! poll "$WAIT_SECONDS" bus_answers; then
    log "the session bus did not start:"
    indent <"$work/bus.log"
    return 1
  fi
}

sni_host_ready() {
  bus_get org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    IsStatusNotifierHostRegistered | grep -q true
}

# xfce4-panel along the bottom edge with its status tray as the only plugin; that plugin is
# the status notifier watcher and host (and an X11 tray as well). Its settings service,
# xfconfd, is started here too (once), reading the panel's layout from the private config
# folder. Sets panel_pid.
xs_start_xfconfd() {
  local xfconfd
  xfconfd=$(ls /usr/lib/*/xfce4/xfconf/xfconfd 2>/dev/null | head -n 1)
  [ -x "$xfconfd" ] || { log "no xfconfd (scripts/install-deps installs xfconf)"; return 1; }
  bus_has_name org.xfce.Xfconf || xs_spawn "$work/xfconfd.log" "$xfconfd"
  if ! poll "$WAIT_SECONDS" bus_has_name org.xfce.Xfconf; then
    log "xfconfd did not start:"
    indent <"$work/xfconfd.log"
    return 1
  fi
}
xs_start_xfce_panel() {
  local channel="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
  mkdir -p "$channel"
  cat >"$channel/xfce4-panel.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
EOF
  xs_start_xfconfd || return 1
  xs_spawn "$work/panel.log" xfce4-panel
  panel_pid=$spawned_pid
  if ! poll "$WAIT_SECONDS" sni_host_ready; then
    log "xfce4-panel's status tray did not register as a host:"
    indent <"$work/panel.log"
    return 1
  fi
  log "xfce4-panel's status tray is up"
}

# The items registered with the watcher, one "busname/path" (or "busname") a line.
sni_items() {
  bus_get org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems | grep -o "'[^']*'" | tr -d "'"
}
# The item of process PID registered with the watcher: sets item (its bus name) and
# item_path.
sni_find_item() {  # sni_find_item PID
  local entry name
  for entry in $(sni_items); do
    name=${entry%%/*}
    [ "$(bus_pid_of "$name")" = "$1" ] || continue
    item=$name
    item_path=/StatusNotifierItem
    [ "$entry" = "$name" ] || item_path=/${entry#*/}
    return 0
  done
  return 1
}
sni_item_gone() { ! sni_items | grep -q "^${item}\(/\|\$\)"; }
sni_activate() { bus_call "$item" "$item_path" org.kde.StatusNotifierItem.Activate 0 0 >/dev/null; }

# The item's exported menu, one top-level entry a line: ID, a tab, then the label, "-" for a
# separator, with " (disabled)" after a disabled item. Sets menu_path.
sni_menu() {
  local layout child id label
  menu_path=$(bus_get "$item" "$item_path" org.kde.StatusNotifierItem Menu |
    grep -o "'/[^']*'" | tr -d "'")
  [ -n "$menu_path" ] && [ "$menu_path" != /NO_DBUSMENU ] || return 1
  layout=$(bus_call "$item" "$menu_path" com.canonical.dbusmenu.GetLayout 0 -1 '[]') || return 1
  # Each child of the root starts with "<(ID, {properties}, ...".
  printf '%s\n' "$layout" | sed 's/<(/\n/g' | tail -n +2 | while IFS= read -r child; do
    id=${child%%,*}
    if [[ $child == *"'type': <'separator'>"* ]]; then
      label=-
    else
      label=$(printf '%s\n' "$child" | sed -n "s/.*'label': <'\([^']*\)'>.*/\1/p")
      [[ $child == *"'enabled': <false>"* ]] && label="$label (disabled)"
    fi
    printf '%s\t%s\n' "$id" "$label"
  done
}
# Chooses the menu entry ID as a host does on a click.
sni_click() {  # sni_click ID
  bus_call "$item" "$menu_path" com.canonical.dbusmenu.Event "$1" clicked '<int32 0>' 0 >/dev/null
}

# The item's exported menu holds the tray menu; it is kept in $menu for sni_step_exit.
sni_step_menu() {
  local expected
  begin_step "the item's exported menu holds the tray menu, Configuration disabled"
  expected=$'New\nOpen...\nSave\nSave As...\n-\nConfiguration (disabled)\nAbout\n-\nExit'
  sni_menu >"$work/menu"  # not in a subshell: it sets menu_path
  menu=$(cat "$work/menu")
  if [ "$(cut -f 2 <<<"$menu")" != "$expected" ]; then
    fail_step "menu at '${menu_path:-}' reads: $(cut -f 2 <<<"$menu" | tr '\n' '|')"
  else
    pass_step
  fi
}
# Exit chosen in the exported menu ends quorpad ($qp_pid) with status 0; its item goes.
sni_step_exit() {
  local exit_id
  begin_step "a click on Exit in the exported menu ends quorpad with status 0 and no item left"
  exit_id=$(awk -F '\t' '$2 == "Exit" {print $1}' <<<"$menu")
  sni_click "$exit_id"
  xs_check_ended sni_item_gone "the watcher still lists the item after quorpad ended"
}
