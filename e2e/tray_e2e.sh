#!/usr/bin/env bash
# End-to-end run of quorpad on a real X server (Xvfb) with a real window manager (openbox)
# and a real notification area (trayer), driven through the mouse and keyboard by xdotool.
#
#   tray_e2e.sh PROGRAM_FOLDER
#
# PROGRAM_FOLDER holds the built quorpad and its engine library. The run works on a copy of
# them in a temporary folder with a store of its own, so the built folder's store is never
# touched. Every wait polls with a bound; the whole run is bounded too. On a failure the
# program's output, its windows and (where ImageMagick is installed) a picture of the screen,
# tray_e2e_failure.png in the current folder, are left as evidence. TRAY_E2E_KEEP=1 keeps
# the temporary folder with the logs of the X server, openbox, trayer and quorpad.
set -u

if [ "${TRAY_E2E_BOUNDED:-}" != 1 ]; then
  # The whole run is bounded: on overrun the script gets SIGTERM, which still cleans up.
  TRAY_E2E_BOUNDED=1 exec timeout -k 10 150 bash "$0" "$@"
fi

BIN_DIR=${1:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ]; then
  echo "usage: tray_e2e.sh PROGRAM_FOLDER   (no quorpad in '${BIN_DIR}')" >&2
  exit 2
fi

WAIT_SECONDS=10  # the bound of every single poll

passed=0
failed=0
step_no=0
step_name=""
started_pids=()  # everything this script started, killed in reverse order on the way out
work=""
qp_pid=""

# ----------------------------------------------------------------------------------------
# Reporting

log() { printf 'e2e: [%3ds] %s\n' "$SECONDS" "$*"; }

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
  save_evidence
}
evidence_saved=0
save_evidence() {
  [ "$evidence_saved" = 1 ] && return
  evidence_saved=1
  if [ -n "$qp_pid" ] && ! kill -0 "$qp_pid" 2>/dev/null; then
    wait "$qp_pid" 2>/dev/null
    log "  quorpad is no longer running (status $?)"
  fi
  if [ -n "$work" ] && [ -f "$work/quorpad.log" ] && [ -s "$work/quorpad.log" ]; then
    log "  quorpad's output so far:"
    sed 's/^/e2e:     /' "$work/quorpad.log" | tail -n 40
  fi
  if [ -n "${DISPLAY:-}" ] && [ -n "$qp_pid" ] && command -v xdotool >/dev/null; then
    local w
    log "  quorpad's windows:"
    for w in $(xdotool search --pid "$qp_pid" 2>/dev/null); do
      log "    $w '$(xdotool getwindowname "$w" 2>/dev/null)' $(map_state "$w") $(geometry "$w")"
    done
  fi
  # A picture of the screen helps, where ImageMagick happens to be installed.
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    if timeout 10 import -window root "$PWD/tray_e2e_failure.png" 2>/dev/null; then
      log "  screen saved to $PWD/tray_e2e_failure.png"
    fi
  fi
}

# Ends the run: steps that were never reached count as failed.
finish() {
  local total=7
  local reached=$((passed + failed))
  if [ "$reached" -lt "$total" ]; then
    local missing=$((total - reached))
    log "$missing step(s) not reached"
    failed=$((failed + missing))
  fi
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && exit 0
  exit 1
}

# ----------------------------------------------------------------------------------------
# Processes and cleanup

cleanup() {
  local i pid
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
    pid=${started_pids[i]}
    if kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null
      for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
  done
  started_pids=()
  if [ -n "$work" ] && [ -d "$work" ]; then
    if [ "${TRAY_E2E_KEEP:-}" = 1 ]; then log "kept $work"; else rm -rf -- "$work"; fi
  fi
}
on_signal() {
  log "interrupted (the run's time bound was reached?) during step $step_no: $step_name"
  trap - EXIT
  cleanup
  echo "e2e: $passed passed, $((7 - passed)) failed"
  exit 1
}
trap cleanup EXIT
trap on_signal TERM INT HUP

# ----------------------------------------------------------------------------------------
# Polling helpers: each runs a condition every 0.1 s until it holds or the bound passes.

poll() {  # poll SECONDS COMMAND...
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  while true; do
    "$@" && return 0
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/{print $3}'; }
is_viewable() { [ "$(map_state "$1")" = IsViewable ]; }
is_gone_or_unmapped() { local s; s=$(map_state "$1"); [ -z "$s" ] || [ "$s" = IsUnMapped ]; }
is_override_redirect() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
net_wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
has_skip_taskbar() { net_wm_state "$1" | grep -q '_NET_WM_STATE_SKIP_TASKBAR'; }
# ICCCM: a window taken back by its program (hidden, not iconified) has no WM_STATE, or
# WithdrawnState.
is_withdrawn() {
  local out
  out=$(xprop -id "$1" WM_STATE 2>/dev/null) || return 1
  case $out in
    *"not found"* | *Withdrawn*) return 0 ;;
  esac
  return 1
}
wm_state_normal() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
process_alive() { kill -0 "$1" 2>/dev/null; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Geometry of a window as "X Y W H" in root coordinates.
geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2}
    END { if (w != "") print x, y, w, h }'
}
centre_of() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  [ -n "${h:-}" ] || return 1
  echo "$((x + w / 2)) $((y + h / 2))"
}

# quorpad's windows that are viewable now, one id (decimal) a line, sorted.
visible_app_windows() { xdotool search --onlyvisible --pid "$qp_pid" 2>/dev/null | sort; }

# A viewable override-redirect window of quorpad's that `before` (a list as above) lacks:
# a popup menu.
new_popup_since() {
  local before=$1 w
  for w in $(comm -13 <(echo "$before") <(visible_app_windows)); do
    if is_override_redirect "$w" && [ "$w" != "$((icon))" ]; then
      popup=$w
      return 0
    fi
  done
  return 1
}

# quorpad's docked tray icon: a window of class quorpad inside trayer's panel.
find_icon() {
  local id
  id=$(xwininfo -tree -id "$panel" 2>/dev/null | awk '/\("quorpad" "quorpad"\)/ {print $1; exit}')
  [ -n "$id" ] || return 1
  is_viewable "$id" || return 1
  icon=$id
}
icon_absent() {
  ! xwininfo -tree -id "$panel" 2>/dev/null | grep -q '("quorpad" "quorpad")'
}

# A point brought into the work area (_NET_WORKAREA of the first desktop): "X Y".
into_work_area() {
  local x=$1 y=$2 wx wy ww wh
  read -r wx wy ww wh < <(xprop -root _NET_WORKAREA 2>/dev/null |
    sed -n 's/.*= *//p' | tr -d ',' | awk '{print $1, $2, $3, $4}')
  if [ -n "${wh:-}" ]; then
    [ "$x" -lt "$wx" ] && x=$wx
    [ "$y" -lt "$wy" ] && y=$wy
    [ "$x" -gt $((wx + ww)) ] && x=$((wx + ww))
    [ "$y" -gt $((wy + wh)) ] && y=$((wy + wh))
  fi
  echo "$x $y"
}

click_at() {  # click_at X Y BUTTON [REPEAT]
  xdotool mousemove "$1" "$2" click --repeat "${4:-1}" --delay 80 "$3"
}

# ----------------------------------------------------------------------------------------
# The X session

for tool in Xvfb xauth openbox trayer xdotool xprop xwininfo xclip mcookie; do
  if ! command -v "$tool" >/dev/null; then
    log "missing tool '$tool' (scripts/install-deps installs it)"
    finish
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quorpad-e2e.XXXXXX") || { log "no temporary folder"; finish; }

# A program folder of its own: the program, the engine library, and a store with two
# templates ("Greeting", whose text spans two lines, and "Sig").
mkdir -p "$work/bin"
cp -P "$BIN_DIR/quorpad" "$BIN_DIR"/libtemplate.so* "$work/bin/" || {
  log "could not copy the program folder $BIN_DIR"
  finish
}
printf '1\x04Greeting\x04Hello\x02\x03World\r\n1\x04Sig\x04Bye\r\n' >"$work/bin/templates.dat"

# Nothing of the person running the test leaks in, and nothing of theirs is written to.
mkdir -p "$work/home" "$work/runtime" "$work/config" "$work/cache" "$work/data"
chmod 700 "$work/runtime"
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache"
export XDG_DATA_HOME="$work/data"
# The X11 platform, whatever the caller had (offscreen would have no tray at all).
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
export QT_QPA_PLATFORM=xcb
# No session bus: the tray icon goes through the X11 notification area, not D-Bus.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus"
unset SESSION_MANAGER

# The server admits only holders of this session's cookie.
export XAUTHORITY="$work/Xauthority"
cookie=$(mcookie)
xauth -q -f "$XAUTHORITY" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
Xvfb -displayfd 3 -nolisten tcp -noreset -auth "$XAUTHORITY" -screen 0 1280x800x24 \
  3>"$work/display" >"$work/xvfb.log" 2>&1 &
started_pids+=("$!")
xvfb_pid=$!
display_known() { grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; }
if ! poll "$WAIT_SECONDS" display_known; then
  log "Xvfb did not start:"
  sed 's/^/e2e:     /' "$work/xvfb.log"
  finish
fi
display_no=$(head -n 1 "$work/display")
export DISPLAY=":$display_no"
xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
server_answers() { xprop -root _NET_SUPPORTED >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; }
if ! poll "$WAIT_SECONDS" server_answers; then
  log "the X server on $DISPLAY does not answer"
  finish
fi
log "X server on $DISPLAY (pid $xvfb_pid)"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
started_pids+=("$!")
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if ! poll "$WAIT_SECONDS" wm_ready; then
  log "openbox did not take the screen"
  sed 's/^/e2e:     /' "$work/openbox.log"
  finish
fi

# The notification area comes first, so that quorpad finds a tray when it starts.
trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel \
  --height 32 --SetDockType true --SetPartialStrut true >"$work/trayer.log" 2>&1 &
started_pids+=("$!")
trayer_pid=$!
panel=""
find_panel() {
  local w
  for w in $(xdotool search --all --pid "$trayer_pid" --name '^panel$' 2>/dev/null); do
    if is_viewable "$w"; then
      panel=$w
      return 0
    fi
  done
  return 1
}
if ! poll "$WAIT_SECONDS" find_panel; then
  log "trayer's panel did not show"
  sed 's/^/e2e:     /' "$work/trayer.log"
  finish
fi
log "trayer's panel is window $panel"

# ----------------------------------------------------------------------------------------
# Step 1: the main window shows, left out of the taskbar since a tray exists.

begin_step "quorpad starts; 'quor - pad' shows without a taskbar entry"
"$work/bin/quorpad" >"$work/quorpad.log" 2>&1 &
qp_pid=$!
started_pids+=("$qp_pid")
main=""
find_main() {
  local w
  for w in $(xdotool search --all --pid "$qp_pid" --name '^quor - pad$' 2>/dev/null); do
    if is_viewable "$w"; then
      main=$w
      return 0
    fi
  done
  return 1
}
if ! poll "$WAIT_SECONDS" find_main; then
  if process_ended "$qp_pid"; then
    fail_step "quorpad ended before its window showed"
  else
    fail_step "no viewable window titled 'quor - pad' within ${WAIT_SECONDS}s"
  fi
  finish
fi
if ! poll "$WAIT_SECONDS" has_skip_taskbar "$main"; then
  fail_step "the main window lacks _NET_WM_STATE_SKIP_TASKBAR ($(net_wm_state "$main"))"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
# Step 2: the tray icon is docked in trayer.

begin_step "the tray icon is docked in trayer's panel"
icon=""
if ! poll "$WAIT_SECONDS" find_icon; then
  fail_step "no viewable window of class quorpad inside trayer's panel within ${WAIT_SECONDS}s"
  finish
fi
read -r icon_x icon_y icon_w icon_h <<<"$(geometry "$icon")"
if [ "${icon_w:-0}" -lt 8 ] || [ "${icon_h:-0}" -lt 8 ]; then
  fail_step "the docked icon $icon is only ${icon_w}x${icon_h}"
  finish
fi
read -r icon_cx icon_cy <<<"$(centre_of "$icon")"
log "  icon $icon at ${icon_x},${icon_y} size ${icon_w}x${icon_h}"
pass_step

# ----------------------------------------------------------------------------------------
# Step 3: a right click on the icon opens the tray menu at the pointer; Escape closes it.

tray_menu_height=0
open_tray_menu() {  # sets popup; returns 1 when no menu shows
  local before
  before=$(visible_app_windows)
  popup=""
  click_at "$icon_cx" "$icon_cy" 3
  poll "$WAIT_SECONDS" new_popup_since "$before"
}

begin_step "a right click on the tray icon opens the tray menu; Escape closes it"
if ! open_tray_menu; then
  fail_step "no popup window showed within ${WAIT_SECONDS}s of the right click"
else
  read -r mx my mw mh <<<"$(geometry "$popup")"
  tray_menu_height=$mh
  # The menu opens at the pointer, kept inside the work area (which leaves out the panel
  # that the pointer is on): the pointer, brought into the work area, lies on the menu's
  # edge or inside it.
  read -r ax ay <<<"$(into_work_area "$icon_cx" "$icon_cy")"
  slack=4
  if [ "$mw" -lt 60 ] || [ "$mh" -lt 60 ]; then
    fail_step "the popup is only ${mw}x${mh}, too small for the tray menu's items"
  elif [ "$ax" -lt $((mx - slack)) ] || [ "$ax" -gt $((mx + mw + slack)) ] ||
       [ "$ay" -lt $((my - slack)) ] || [ "$ay" -gt $((my + mh + slack)) ]; then
    fail_step "the menu (${mw}x${mh} at ${mx},${my}) is not at the pointer (${icon_cx},${icon_cy}; ${ax},${ay} in the work area)"
  else
    xdotool key Escape
    if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$popup"; then
      fail_step "the tray menu stayed open after Escape"
    else
      pass_step
    fi
  fi
fi
# Whatever happened, no menu is left open for the steps that follow.
for _ in 1 2; do
  [ -n "${popup:-}" ] && is_viewable "$popup" && xdotool key Escape && sleep 0.3
done

# ----------------------------------------------------------------------------------------
# Step 4: minimizing hides the window in the tray (withdrawn, not iconified).

begin_step "minimizing hides the window in the tray"
xdotool windowminimize "$main"
if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$main"; then
  fail_step "the window is still $(map_state "$main") after minimizing"
elif ! poll "$WAIT_SECONDS" is_withdrawn "$main"; then
  fail_step "the window was iconified but not hidden: $(xprop -id "$main" WM_STATE 2>&1 | tr '\n' ' ')"
elif ! process_alive "$qp_pid"; then
  fail_step "quorpad ended when its window was minimized"
elif icon_absent; then
  fail_step "the tray icon went away when the window was minimized"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
# Step 5: a double click on the icon brings the window back, still out of the taskbar.

begin_step "a double click on the tray icon restores the window"
click_at "$icon_cx" "$icon_cy" 1 2
if ! poll "$WAIT_SECONDS" is_viewable "$main"; then
  fail_step "the window is still $(map_state "$main") after the double click"
elif ! poll "$WAIT_SECONDS" wm_state_normal "$main"; then
  fail_step "the window is viewable but not in NormalState: $(xprop -id "$main" WM_STATE 2>&1 | tr '\n' ' ')"
elif ! poll "$WAIT_SECONDS" has_skip_taskbar "$main"; then
  fail_step "the restored window lost _NET_WM_STATE_SKIP_TASKBAR ($(net_wm_state "$main"))"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
# Step 6: a right click in the document opens the templates popup; its first slot inserts
# the "Greeting" template.

document_changed=0
clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

begin_step "a right click in the document opens the templates popup; 'Greeting' is inserted"
if ! is_viewable "$main"; then
  fail_step "the main window is not viewable"
else
  read -r cx cy <<<"$(centre_of "$main")"
  timeout 5 xdotool windowactivate --sync "$main" 2>/dev/null
  # A left click puts the caret into the document; the right click opens the popup.
  click_at "$cx" "$cy" 1
  before=$(visible_app_windows)
  popup=""
  click_at "$cx" "$cy" 3
  if ! poll "$WAIT_SECONDS" new_popup_since "$before"; then
    fail_step "no popup window showed within ${WAIT_SECONDS}s of the right click in the document"
  else
    read -r _ _ pw ph <<<"$(geometry "$popup")"
    if [ "$ph" -le "$tray_menu_height" ]; then
      # Thirteen template slots and the commands below them: far taller than the tray menu.
      fail_step "the popup (${pw}x${ph}) is no taller than the tray menu (height $tray_menu_height)"
      xdotool key Escape
    else
      # Down selects the first slot, "Greeting"; Return chooses it.
      xdotool key Down Return
      if ! poll "$WAIT_SECONDS" is_gone_or_unmapped "$popup"; then
        fail_step "the templates popup stayed open after choosing its first slot"
        xdotool key Escape
      else
        # The document now holds the template's two lines: copy them all and read them back.
        expected=$'Hello\nWorld'
        copy_all() {
          xdotool key ctrl+a ctrl+c
          poll 2 clipboard_is "$expected"
        }
        if poll "$WAIT_SECONDS" copy_all; then
          document_changed=1
          pass_step
        else
          got=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | od -c | head -n 4)
          fail_step "the document does not hold 'Hello<LF>World' after choosing Greeting; clipboard: $got"
        fi
      fi
    fi
  fi
fi

# ----------------------------------------------------------------------------------------
# Step 7: Exit from the tray menu ends the program (after the unsaved-text question), with
# status 0, and the icon leaves trayer.

begin_step "Exit in the tray menu ends quorpad with status 0 and removes the icon"
prompt=""
find_prompt() {  # the save question: a managed (not override-redirect) dialog titled quorpad
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$qp_pid" --name '^quorpad$' 2>/dev/null); do
    [ "$w" = "$((icon))" ] && continue
    is_override_redirect "$w" && continue
    prompt=$w
    return 0
  done
  return 1
}
ended_or_prompt() { process_ended "$qp_pid" || find_prompt; }
if ! open_tray_menu; then
  fail_step "the tray menu did not open"
else
  # Exit is the menu's last item: Up from no selection wraps to it.
  xdotool key Up Return
  if ! poll "$WAIT_SECONDS" ended_or_prompt; then
    fail_step "quorpad neither ended nor asked about the unsaved text within ${WAIT_SECONDS}s of Exit"
  else
    step_ok=1
    if [ -n "$prompt" ]; then
      log "  quorpad asks whether to save the document; answering No"
      timeout 5 xdotool windowactivate --sync "$prompt" 2>/dev/null
      xdotool key n
    elif [ "$document_changed" = 1 ]; then
      fail_step "quorpad ended without asking about the unsaved text"
      step_ok=0
    fi
    if [ "$step_ok" = 1 ]; then
      if ! poll "$WAIT_SECONDS" process_ended "$qp_pid"; then
        fail_step "quorpad is still running ${WAIT_SECONDS}s after Exit"
      else
        wait "$qp_pid"
        status=$?
        if [ "$status" -ne 0 ]; then
          fail_step "quorpad ended with status $status"
        elif ! poll "$WAIT_SECONDS" icon_absent; then
          fail_step "the tray icon is still in trayer's panel after quorpad ended"
        else
          pass_step
        fi
      fi
    fi
  fi
fi

finish
