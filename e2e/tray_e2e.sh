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

. "$(dirname "$0")/xsession.sh"
xs_bound 150 "$0" "$@"

BIN_DIR=${1:-}
if [ -z "$BIN_DIR" ] || [ ! -x "$BIN_DIR/quorpad" ]; then
  echo "usage: tray_e2e.sh PROGRAM_FOLDER   (no quorpad in '${BIN_DIR}')" >&2
  exit 2
fi

xs_total=8
xs_keep=${TRAY_E2E_KEEP:-}
xs_picture=tray_e2e_failure.png
qp_pid=""

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

# ----------------------------------------------------------------------------------------
# The X session

xs_begin xclip || finish

# A program folder of its own: the program, the engine library, and a store with two
# templates ("Greeting", whose text spans two lines, and "Sig").
xs_copy_program "$BIN_DIR" || finish
printf '1\x04Greeting\x04Hello\x02\x03World\r\n1\x04Sig\x04Bye\r\n' >"$work/bin/templates.dat"

xs_start_x || finish
# The notification area comes first, so that quorpad finds a tray when it starts.
xs_start_tray || finish

# ----------------------------------------------------------------------------------------
# Step 1: the main window shows, left out of the taskbar since a tray exists.

begin_step "quorpad starts; 'quor - pad' shows without a taskbar entry"
xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
main=""
if poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  main=$window
else
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
  fail_step "the window was iconified but not hidden: $(wm_state "$main")"
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
  fail_step "the window is viewable but not in NormalState: $(wm_state "$main")"
elif ! poll "$WAIT_SECONDS" has_skip_taskbar "$main"; then
  fail_step "the restored window lost _NET_WM_STATE_SKIP_TASKBAR ($(net_wm_state "$main"))"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
# Step 6: a right click in the document opens the templates popup; its first slot inserts
# the "Greeting" template.

document_changed=0

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
  if ! poll "$WAIT_SECONDS" find_popup "$before"; then
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
# Step 7: a window manager that takes the shown window on without reading its wish (as one
# does that takes a window on just as the wish is written) is asked again: the window stays
# out of the taskbar.

begin_step "a window manager taking the window on afresh keeps it out of the taskbar"
xs_stop "$wm_pid"
xprop -id "$main" -remove _NET_WM_STATE
xs_spawn "$work/wm2.log" openbox --sm-disable
wm_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" wm_ready; then
  fail_step "openbox did not start again"
elif ! poll "$WAIT_SECONDS" has_skip_taskbar "$main"; then
  fail_step "the window came back into the taskbar ($(net_wm_state "$main"))"
else
  pass_step
fi

# ----------------------------------------------------------------------------------------
# Step 8: Exit from the tray menu ends the program (after the unsaved-text question), with
# status 0, and the icon leaves trayer.

begin_step "Exit in the tray menu ends quorpad with status 0 and removes the icon"
prompt=""
ended_or_prompt() { process_ended "$qp_pid" || find_prompt; }
if ! open_tray_menu; then
  fail_step "the tray menu did not open"
else
  choose_tray_item Exit
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
      xs_check_ended icon_absent "the tray icon is still in trayer's panel after quorpad ended"
    fi
  fi
fi

finish
