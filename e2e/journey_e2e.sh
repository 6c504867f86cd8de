#!/usr/bin/env bash
# End-to-end journey across windows, as a person takes it by keyboard and mouse, on Xvfb
# with openbox and trayer (XEmbed), or with xfce4-panel's status tray (JOURNEY_TRAY=sni):
# the tray menu opens on the right button's release; the manager opened from the popup
# answers with each of its messages (no earlier versions, a name that exists, export,
# import), and after each one the manager is quorpad's front window and has the keyboard;
# the arrow keys choose the template Remove deletes, and Versions' Restore brings it back with
# the manager still in front; a preset Value is replaced by typing.
# JOURNEY_SCALE=2 runs it at a scale factor of 2; JOURNEY_DESKTOP=14pt-dark with the desktop
# font at 14 pt and a dark palette, set as people on a bare window manager set them (qt6ct);
# JOURNEY_ANSWER=mouse answers the messages with a click instead of Return.
#
#   journey_e2e.sh PROGRAM_FOLDER
set -u
tray=${JOURNEY_TRAY:-xembed}
xs_tag=journey-$tray${JOURNEY_SCALE:+-x$JOURNEY_SCALE}${JOURNEY_DESKTOP:+-$JOURNEY_DESKTOP}${JOURNEY_ANSWER:+-$JOURNEY_ANSWER}
. "$(dirname "$0")/xsession.sh"
xs_bound 150 "$0" "$@"

BIN_DIR=${1:-}
[ -x "$BIN_DIR/quorpad" ] || { echo "usage: journey_e2e.sh PROGRAM_FOLDER" >&2; exit 2; }
xs_total=7
# How the messages are answered: JOURNEY_ANSWER=mouse clicks their button, else Return.
answer_by=${JOURNEY_ANSWER:-keys}
scale=${JOURNEY_SCALE:-1}
xs_keep=${JOURNEY_E2E_KEEP:-}
qp_pid=""
item=""

if [ "$tray" = sni ]; then xs_begin gdbus dbus-daemon xfce4-panel || finish; else xs_begin || finish; fi
xs_copy_program "$BIN_DIR" || finish
if [ -n "${JOURNEY_DESKTOP:-}" ]; then
  theme=/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes/libqt6ct.so
  [ -e "$theme" ] || { echo "qt6ct is not installed (scripts/install-deps)" >&2; finish; }
  mkdir -p "$XDG_CONFIG_HOME/qt6ct"
  cat >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf" <<CONF
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion

[Fonts]
fixed="DejaVu Sans Mono,14,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
general="DejaVu Sans,14,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
CONF
  export QT_QPA_PLATFORMTHEME=qt6ct
fi
store="$work/bin/templates.dat"
printf '1\x04Address\x041 Main St\r\n1\x04Beta\x04b\r\n1\x04Gamma\x04g\r\n' >"$store"
printf '1\x04Delta\x04d\r\n' >"$work/home/more.dat"
# QT_SCALE_FACTOR=2 (JOURNEY_SCALE) runs the same journey at twice the size.
if [ -n "${JOURNEY_SCALE:-}" ]; then
  xs_start_x 2560x1600 || finish
  export QT_SCALE_FACTOR=$JOURNEY_SCALE
else
  xs_start_x || finish
fi
if [ "$tray" = sni ]; then
  xs_start_bus || finish
  xs_start_xfce_panel || finish
else
  xs_start_tray || finish
fi

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
store_has() { od -An -c "$store" | tr -d ' \n' | grep -qF "$(printf '%s' "$1" | od -An -c | tr -d ' \n')"; }
# Clicks a manager button by its designed place: (left, top) in twips of its centre. At this
# font a pixel is 15 twips, times the scale the manager's width shows (7950 twips designed).
press() { click_at $((mx + $1 * mscale / 15000)) $((my + $2 * mscale / 15000)) 1; }
# Answers quorpad's message with Return once it has the keyboard; then the manager must be
# in front with the keyboard again. Fails the step, saying which, otherwise.
answer_and_check() {  # answer_and_check WHAT
  if ! poll "$WAIT_SECONDS" find_prompt; then
    fail_step "no message came for $1"
    return 1
  fi
  local message=$prompt
  poll "$WAIT_SECONDS" focused "$message"
  if [ "$answer_by" = mouse ]; then
    # Its one button, OK, sits in the bottom right corner, inside the dialog's margins.
    local x y w h
    read -r x y w h <<<"$(geometry "$message")"
    click_at $((x + w - 36 * scale)) $((y + h - 21 * scale)) 1
  else
    xdotool key Return
  fi
  if ! poll "$WAIT_SECONDS" in_front "$manager"; then
    fail_step "after $1 the front window is $(front_window), the keyboard in $(xdotool getwindowfocus), not the manager $manager"
    return 1
  fi
}
open_manager() {  # from the popup at the caret, its item four up from the first slot
  xdotool key shift+F10
  poll "$WAIT_SECONDS" find_popup
  xdotool key "$@" Return
  poll "$WAIT_SECONDS" find_prompt "Manage Templates" || return 1
  manager=$prompt
  poll "$WAIT_SECONDS" focused "$manager" || return 1
  read -r mx my mw _ <<<"$(geometry "$manager")"
  mscale=$((mw * 1000 / 530))
}

xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
qp_pid=$spawned_pid
poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad" || { echo "no main window" >&2; finish; }
main=$window
poll "$WAIT_SECONDS" focused "$main"

begin_step "the tray menu opens on the right button's release, not its press"
if [ "$tray" = sni ]; then
  # The host draws the menu and decides when; quorpad's part is its exported menu.
  if poll "$WAIT_SECONDS" sni_find_item "$qp_pid"; then pass_step; else fail_step "no item"; fi
else
  poll "$WAIT_SECONDS" find_icon
  read -r icx icy <<<"$(centre_of "$icon")"
  before=$(visible_app_windows)
  xdotool mousemove "$icx" "$icy" mousedown 3
  # A menu that was to come on the press would be up well within this.
  sleep 0.5
  if find_popup "$before"; then
    fail_step "the menu opened on the press"
  else
    xdotool mouseup 3
    if ! poll "$WAIT_SECONDS" find_popup "$before"; then
      fail_step "no menu on the release"
    else
      pass_step
    fi
  fi
  xdotool mouseup 3 key Escape
  poll "$WAIT_SECONDS" focused "$main"
fi

begin_step "each of the manager's messages gives the manager back the front and the keyboard"
xdotool key ctrl+End
if ! open_manager Up Up Up Up; then
  fail_step "the manager did not open with the keyboard"
  finish
fi
# At 14 pt the manager is larger than designed, as a whole.
if [ -n "${JOURNEY_DESKTOP:-}" ] && ((mscale < 1150)); then
  fail_step "the manager is ${mw} px wide: the desktop's 14 pt font did not reach it"
  finish
fi
# Versions before any change: "No earlier versions ..."; then Add of a listed template,
# chosen with the keyboard: "Template Exists!".
ok=1
press 4087 4207 && answer_and_check "Versions" || ok=0
if ((ok)); then
  press 600 360  # the list's first row: Address fills the boxes
  press 5167 4627 && answer_and_check "Add of a listed template" || ok=0
fi
((ok)) && pass_step

begin_step "export and import, through their file dialogs, end with the manager in front"
# Names PATH in the file dialog TITLE once it has the keyboard; fails the step without one.
choose_file() {  # choose_file TITLE PATH
  if ! poll "$WAIT_SECONDS" find_prompt "$1"; then
    fail_step "no '$1' dialog"
    return 1
  fi
  poll "$WAIT_SECONDS" focused "$prompt"
  xdotool type --delay 10 "$2"
  xdotool key Return
}
ok=1
press 5227 4207
# One template is chosen in the list: the manager asks whether to export it or all; Return
# takes the chosen one.
poll "$WAIT_SECONDS" find_prompt && poll "$WAIT_SECONDS" focused "$prompt" && xdotool key Return
if choose_file "Export Templates" "$work/home/all.csv"; then
  # The file does not exist yet: the dialog asks before it creates it (Yes is the default).
  poll "$WAIT_SECONDS" find_another "Export Templates" "$prompt" &&
    poll "$WAIT_SECONDS" focused "$asking" && xdotool key Return
  answer_and_check "Export" || ok=0
else
  ok=0
fi
if ((ok)); then
  press 4027 4627
  choose_file "Import Templates" "$work/home/more.dat" && answer_and_check "Import" || ok=0
fi
if ((ok)); then
  if ! grep -q 'Address.*1 Main St' "$work/home/all.csv"; then
    fail_step "the export holds: $(head -c 200 "$work/home/all.csv" 2>&1)"
  elif ! store_has $'\x04Delta\x04d\r\n'; then
    fail_step "the import did not reach the store"
  else
    pass_step
  fi
fi

begin_step "the arrow keys choose the template that Remove deletes"
# The list holds Address, Beta, Gamma, Delta: Home and two Downs reach Gamma.
press 600 360
xdotool key Home Down Down
press 7327 4627
gone() { ! store_has Gamma && store_has Beta && store_has Delta && store_has Address; }
if ! poll "$WAIT_SECONDS" gone; then
  fail_step "the store holds: $(od -c "$store" | head -4)"
elif ! in_front "$manager"; then
  fail_step "the manager lost the front or the keyboard"
else
  pass_step
fi

begin_step "Versions' Restore brings the removed template back, the manager in front"
press 4087 4207
if ! poll "$WAIT_SECONDS" find_prompt "Template Versions"; then
  fail_step "no list of versions"
else
  poll "$WAIT_SECONDS" focused "$prompt"
  # The newest version, the one kept before Remove, is chosen; Return restores it.
  xdotool key Return
  if ! poll "$WAIT_SECONDS" store_has $'\x04Gamma\x04g\r\n'; then
    fail_step "the store holds: $(od -c "$store" | head -4)"
  elif ! poll "$WAIT_SECONDS" in_front "$manager"; then
    fail_step "after Restore the front window is $(front_window), the keyboard in $(xdotool getwindowfocus)"
  else
    pass_step
  fi
fi

begin_step "an empty slot's manager: typing replaces the preset Value"
xdotool key alt+F4
poll "$WAIT_SECONDS" focused "$main"
# Four templates fill the first four slots; the fifth is empty.
if ! open_manager Down Down Down Down; then
  fail_step "no manager for the empty slot"
else
  # The preset name is chosen, so that typing replaces it; Tab chooses the preset Value.
  xdotool type --delay 10 'Signature'
  xdotool key Tab
  xdotool type --delay 10 'Ann Example'
  press 5167 4627
  if ! poll "$WAIT_SECONDS" store_has $'\x04Signature\x04Ann Example\r\n'; then
    fail_step "the store holds: $(od -c "$store" | tail -4)"
  else
    pass_step
  fi
fi

begin_step "the manager closed, the main window has the keyboard again"
xdotool key alt+F4
if poll "$WAIT_SECONDS" in_front "$main"; then
  pass_step
else
  fail_step "the front window is $(front_window), the keyboard in $(xdotool getwindowfocus)"
fi
finish
