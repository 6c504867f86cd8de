#!/usr/bin/env bash
# A fuzzer of quorpad's user interface on a real desktop: Xvfb, openbox, a private session
# bus and xfce4-panel's status tray. Random sequences of what a person does (typing, the
# clipboard keys, middle clicks, the picker, the templates popup and the windows it opens,
# the tray's menu and Activate over D-Bus, later starts with a file or --copy, another
# process changing the store, SIGTERM) run against the program, and after every action:
#   - quorpad is running, or ended with status 0 after an Exit it was given;
#   - no sanitizer report was written (run the sanitizer build: ASAN_OPTIONS and
#     UBSAN_OPTIONS with log_path=REPORTS/...; see scripts/run-sanitized);
#   - it answers within 5 s (a property read over the session bus);
#   - at most one modal dialog of quorpad's is on screen (one opened from within another,
#     such as Save As asking to create a file, counts with it);
#   - the store still parses (every line an index, a name and a value, no name with byte 4);
#   - after SIGTERM, the recovery copy holds the last text typed into the document;
#   - when a dialog or message closed and no other window came, the window it came from is
#     quorpad's front window and has the keyboard (within 5 s).
# Each seed replays the same actions; the outcome of each can differ with timing.
#
#   ui_fuzz.sh PROGRAM_FOLDER SECONDS SEED [SEED...]
#
# SECONDS is shared among the seeds. Exits 0 when nothing was found, 1 with the finding, its
# seed and the action that preceded it. UI_FUZZ_REPORTS names the folder of sanitizer
# reports to watch (default: none); UI_FUZZ_KEEP=1 keeps the temporary folder.
set -u
xs_tag=ui-fuzz
. "$(dirname "$0")/xsession.sh"

BIN_DIR=${1:-}
SECONDS_IN_ALL=${2:-60}
shift 2 2>/dev/null || true
seeds=("$@")
if [ ! -x "$BIN_DIR/quorpad" ] || [ ${#seeds[@]} -eq 0 ]; then
  echo "usage: ui_fuzz.sh PROGRAM_FOLDER SECONDS SEED [SEED...]" >&2
  exit 2
fi
# Copied again later from the run's own folder.
BIN_DIR=$(cd "$BIN_DIR" && pwd)
xs_bound $((SECONDS_IN_ALL + 120)) "$0" "$BIN_DIR" "$SECONDS_IN_ALL" "${seeds[@]}"
xs_keep=${UI_FUZZ_KEEP:-}
reports=${UI_FUZZ_REPORTS:-}
actions_run=0
qp_pid=""
item=""

xs_begin gdbus dbus-daemon xfce4-panel xclip || exit 1
xs_copy_program "$BIN_DIR" || exit 1
# The program's own files as copied, told apart from a dialog's renames and saves over them.
program_files() { (cd "$work/bin" && stat -L -c '%n %i %s %Y' quorpad libtemplate.so* 2>&1); }
program_as_copied=$(program_files)
# What quorpad saves by a bare name (a Save As answered by random keys) stays in the run's
# folder, not wherever the fuzzer was started.
cd "$work" || exit 1
store="$work/bin/templates.dat"
docs="$work/docs"
mkdir -p "$docs"
printf 'first line\nsecond line\n' >"$docs/a.txt"
printf 'caf\xe9 in Windows-1252\r\n' >"$docs/b.txt"
# Large enough to come in beside the window, a piece at a time.
yes 'a line of a long document, read while the window goes on answering' | head -c 3000000 >"$docs/c.txt"
xs_start_x || exit 1
xs_start_bus || exit 1
xs_start_xfce_panel || exit 1

found() {  # found WHAT: the finding, with what led to it, and the end
  log "FINDING (seed $seed, action $actions_run: $last_action): $*"
  log "the actions before it:"
  tail -n 12 "$work/actions" | indent
  if [ -n "$reports" ] && compgen -G "$reports/*" >/dev/null; then
    for f in "$reports"/*; do
      log "report $f:"
      head -n 40 "$f" | indent
    done
  fi
  log "quorpad's output:"
  tail -n 30 "$work/quorpad.log" 2>/dev/null | indent
  echo "$xs_tag: 0 passed, 1 failed"
  exit 1
}

# The file dialogs open in the program's folder, where random keys may rename, delete or save
# over the program's own files (the list's Rename and Delete, a Save As onto one): they are
# put back before each start, as a user who did so would reinstall.
keep_program() {
  [ "$(program_files)" = "$program_as_copied" ] && return
  rm -rf -- "$work/bin/quorpad" "$work/bin"/libtemplate.so*
  xs_copy_program "$BIN_DIR" || found "the program's files could not be put back in $work/bin"
  program_as_copied=$(program_files)
}
start_quorpad() {
  keep_program
  xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
  qp_pid=$spawned_pid
  item=""
  menu=""
  marker=""
  # Running once a window of its own shows; a signal sent before its first instruction
  # (while the system still loads it) would end any program.
  poll "$WAIT_SECONDS" shows_a_window || found "quorpad showed no window"
}
shows_a_window() { process_ended "$qp_pid" || [ -n "$(xdotool search --onlyvisible --pid "$qp_pid" 2>/dev/null)" ]; }
# The item and its menu's ids, once the item has registered.
know_item() {
  [ -n "$item" ] && [ -n "$menu" ] && return 0
  sni_find_item "$qp_pid" || return 1
  sni_menu >"$work/menu" 2>/dev/null || return 1
  menu=$(cat "$work/menu")
  [ -n "$menu" ]
}
menu_id() { awk -F '\t' -v label="$1" '$2 == label {print $1}' <<<"$menu"; }

# ----------------------------------------------------------------------------------------
# The invariants

modal_windows() {  # quorpad's visible modal windows not opened from within another
  local w modal=() t
  for w in $(xdotool search --all --onlyvisible --pid "$qp_pid" 2>/dev/null); do
    net_wm_state "$w" | grep -q _NET_WM_STATE_MODAL && modal+=("$w")
  done
  for w in "${modal[@]}"; do
    t=$(xprop -id "$w" WM_TRANSIENT_FOR 2>/dev/null | grep -o '0x[0-9a-f]*')
    [ -n "$t" ] && [[ " ${modal[*]} " == *" $((t)) "* ]] && continue
    echo "$w"
  done
}
one_modal_at_most() { [ "$(modal_windows | wc -l)" -le 1 ]; }
store_parses() {
  # Every line (CR LF, or a lone CR or LF) holds an index, a name and a value; and no name
  # held the separator (byte 4), which nothing here puts into a value: a line with a fourth
  # field is a name the engine's rule should have refused.
  tr '\r' '\n' <"$store" | awk -F '\004' 'NF > 0 && (NF < 3 || NF > 3) { bad = 1 } END { exit bad }'
}
answers() {
  answered_by="a property read over the bus"
  if know_item && timeout 5 gdbus call --session --dest "$item" --object-path "$item_path" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Status \
    >/dev/null 2>&1; then
    return 0
  fi
  # No item (yet, or any more: the main window was closed while a dialog stays): a later
  # start's --list is answered by the running quorpad.
  item=""
  menu=""
  answered_by="a later start's --list"
  keep_program
  timeout 5 "$work/bin/quorpad" --list >/dev/null 2>&1
}
ended() {  # reaps quorpad if it has ended; a finding unless it ended with 0
  process_ended "$qp_pid" || return 1
  xs_reap "$qp_pid"
  local status=$?
  # An Exit (from the tray, the popup or a closed window) ends it with 0.
  [ "$status" -eq 0 ] || found "quorpad ended with status $status"
  start_quorpad
}
# Each shown window opened from another shown one, as "WINDOW PARENT" lines.
opened_from() {
  local w t shown
  shown=" $(shown_windows | tr '\n' ' ') "
  for w in $shown; do
    t=$(xprop -id "$w" WM_TRANSIENT_FOR 2>/dev/null | grep -o '0x[0-9a-f]*')
    [ -n "$t" ] && [[ "$shown" == *" $((t)) "* ]] && echo "$w $((t))"
  done
}
# A dialog that closed during the action, with no window come instead, hands the front and
# the keyboard back to the window it came from, unless the answer closed or hid that window
# too (No to the close box's save question).
in_front_or_gone() { shown_windows | grep -qx "$1" || return 0; in_front "$1"; }
check_handed_back() {
  local after w parent
  after=" $(shown_windows | tr '\n' ' ') "
  for w in $after; do [[ " $shown_before " == *" $w "* ]] || return 0; done
  while read -r w parent; do
    [ -n "$w" ] || continue
    [[ "$after" == *" $w "* ]] && continue
    [[ "$after" == *" $parent "* ]] || continue
    poll 5 in_front_or_gone "$parent" ||
      found "after $(xdotool getwindowname "$parent" 2>/dev/null)'s dialog $w closed, the front window is $(front_window) and the keyboard in $(xdotool getwindowfocus 2>/dev/null), not $parent"
  done <<<"$opened_before"
}
check() {
  if [ -n "$reports" ] && compgen -G "$reports/*" >/dev/null; then found "a sanitizer report"; fi
  ended && return
  if ! answers; then
    # It may have been on its way out.
    poll 5 process_ended "$qp_pid" && ended && return
    found "quorpad did not answer $answered_by within 5 s"
  fi
  # One dialog may still be going while the next comes: two count only when they stay.
  local modal
  if ! poll 3 one_modal_at_most; then
    modal=$(modal_windows | tr '\n' ' ')
    found "$(wc -w <<<"$modal") modal dialogs on screen: $modal"
  fi
  store_parses || found "the store no longer parses: $(cat -v "$store" | head -n 5)"
  check_handed_back
}

# ----------------------------------------------------------------------------------------
# The actions

words=(alpha "two words" "ünïcödé" "ř" "<b>html</b>" "tab	here" "    " x "a longer line of text"
  "<img src=&#47;dev&#47;zero>" "50%1 off %2")
pick() { echo $((RANDOM % $1)); }
# The main window is there and has the keyboard (with neither known, both read empty).
in_document() {
  local main
  main=$(main_window)
  [ -n "$main" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ] && [ -z "$(modal_windows)" ]
}
main_window() { xdotool search --all --onlyvisible --pid "$qp_pid" --name '^quor - pad$' 2>/dev/null | head -n 1; }
# quorpad's shown windows with their names, and the window with the keyboard.
shown_windows() {
  for w in $(xdotool search --onlyvisible --pid "$qp_pid" 2>/dev/null); do
    printf '%s "%s" ' "$w" "$(xdotool getwindowname "$w")"
  done
  echo "focus $(xdotool getwindowfocus)"
}

act() {
  local n=$((RANDOM % 26)) w
  case $n in
    0 | 1 | 2) last_action="type"; xdotool type --delay 5 "${words[$(pick ${#words[@]})]}" ;;
    3) last_action="ctrl+c"; xdotool key ctrl+c ;;
    4) last_action="ctrl+x"; xdotool key ctrl+x ;;
    5) last_action="ctrl+v"; xdotool key ctrl+v ;;
    6) last_action="shift+Insert"; xdotool key shift+Insert ;;
    7)
      last_action="middle click"
      w=$(main_window)
      [ -n "$w" ] && read -r cx cy < <(centre_of "$w") && xdotool mousemove "$cx" "$cy" click 2
      ;;
    8) last_action="ctrl+t and text"; xdotool key ctrl+t; xdotool type --delay 5 "${words[$(pick 3)]}" ;;
    9) last_action="Escape"; xdotool key Escape ;;
    10) last_action="Return"; xdotool key Return ;;
    11) last_action="Tab"; xdotool key Tab ;;
    12)
      # The templates popup, a walk in it, and a choice.
      local keys=(Menu) i
      for ((i = $(pick 8); i > 0; i--)); do keys+=("$(printf '%s\n' Down Down Up Right Left | sed -n "$(($(pick 5) + 1))p")"); done
      keys+=(Return)
      last_action="popup: ${keys[*]}"
      xdotool key --delay 30 "${keys[@]}"
      ;;
    13) last_action="space"; xdotool key space ;;
    14 | 15)
      if know_item; then
        local labels=(New Open... Save "Save As..." About Exit)
        local label=${labels[$(pick ${#labels[@]})]}
        last_action="tray menu: $label"
        sni_click "$(menu_id "$label")"
      else
        last_action="tray menu (no item yet)"
      fi
      ;;
    16) last_action="tray Activate"; know_item && sni_activate ;;
    17)
      last_action="later start with a file"
      keep_program
      (cd "$docs" && timeout 25 "$work/bin/quorpad" "$(printf '%s\n' a.txt b.txt c.txt | sed -n "$(($(pick 3) + 1))p")" \
        >/dev/null 2>&1) || true
      ;;
    18)
      last_action="later start with --copy"
      keep_program
      timeout 25 "$work/bin/quorpad" --copy "$(printf '%s\n' Greeting Sig Nothing | sed -n "$(($(pick 3) + 1))p")" \
        >/dev/null 2>&1 || true
      ;;
    19)
      last_action="another process adds to the store"
      printf '1\004Added %s\004text %s\r\n' "$RANDOM" "$RANDOM" >>"$store"
      ;;
    20) last_action="alt+F4 (closes the focused window)"; xdotool key alt+F4 ;;
    21) last_action="ctrl+z"; xdotool key ctrl+z ;;
    22) last_action="Up"; xdotool key Up ;;
    23) sigterm ;;
    24 | 25)
      # In the manager (its Rename, Move, Import, Export, Versions and Fill fields among its
      # buttons): Tab to a control and press it. Elsewhere the keys would only type.
      local keys=() i
      w=$(xdotool getwindowfocus 2>/dev/null)
      if [ "$(xdotool getwindowname "$w" 2>/dev/null)" != "Manage Templates" ]; then
        last_action="tab walk (the manager has no keyboard)"
      else
        for ((i = $(pick 14); i > 0; i--)); do keys+=(Tab); done
        keys+=(space)
        last_action="tab walk in the manager and press: ${#keys[@]} keys"
        xdotool key --delay 20 "${keys[@]}"
      fi
      ;;
  esac
  actions_run=$((actions_run + 1))
  echo "$actions_run $last_action" >>"$work/actions"
}

clipboard_holds() { timeout 2 xclip -o -selection clipboard 2>/dev/null | grep -qF -- "$1"; }
copy_holds() { grep -rqF -- "$1" "$XDG_STATE_HOME/quorpad/" --include='*.copy' 2>/dev/null; }
sigterm() {
  last_action="SIGTERM"
  marker=""
  windows_typed=""
  windows_then=$(shown_windows)
  # Typed into only while the windows stand still: the document has the keyboard before the
  # keys as well as after them.
  if in_document && [ "$(shown_windows)" = "$windows_then" ]; then
    marker="mark$seed.$actions_run"
    # Escape closes the picker or a popup that may hold the keyboard within the window.
    xdotool key Escape ctrl+End
    xdotool type --delay 5 "$marker"
    # The document's text read through its Copy shows that the keys have arrived (a signal
    # may overtake keys still queued); where it does not hold the marker, the keys went
    # elsewhere and there is nothing to hold the copy to.
    xdotool key ctrl+a ctrl+c
    poll 3 clipboard_holds "$marker" || marker=""
    windows_typed=$(shown_windows)
    # A window that an earlier action asked for (the manager, say) may come up and take the
    # keyboard while the keys are typed; the keys and the Copy then went to it, and the
    # document was never given the marker.
    in_document || marker=""
  fi
  kill -TERM "$qp_pid" 2>/dev/null
  poll "$WAIT_SECONDS" process_ended "$qp_pid" || found "quorpad still runs ${WAIT_SECONDS}s after SIGTERM"
  xs_reap "$qp_pid"
  local status=$?
  [ "$status" -eq 0 ] || found "SIGTERM ended quorpad with status $status"
  if [ -n "$marker" ] && ! copy_holds "$marker"; then
    found "after SIGTERM no recovery copy holds the last text typed ('$marker'); the copies: $(
      cat "$XDG_STATE_HOME"/quorpad/*.copy 2>/dev/null | tr '\n' '|' | head -c 300); windows then: $windows_then; once typed: $windows_typed; the folder: $(ls -la "$XDG_STATE_HOME/quorpad/" 2>&1 | tr '\n' '|')"
  fi
  start_quorpad
}

# ----------------------------------------------------------------------------------------
per_seed=$((SECONDS_IN_ALL / ${#seeds[@]}))
for seed in "${seeds[@]}"; do
  RANDOM=$seed
  last_action="start"
  printf '1\004Greeting\004Hello\002\003World\r\n1\004Sig\004Bye\r\n' >"$store"
  rm -rf "$XDG_STATE_HOME/quorpad"
  start_quorpad
  until_time=$((SECONDS + per_seed))
  first=$actions_run
  while [ "$SECONDS" -lt "$until_time" ]; do
    shown_before=$(shown_windows | tr '\n' ' ')
    opened_before=$(opened_from)
    act
    check
  done
  # The seed's end is a SIGTERM too, whose status counts as any other's.
  last_action="the seed's closing SIGTERM"
  if ! process_ended "$qp_pid"; then
    kill -TERM "$qp_pid" 2>/dev/null
    poll "$WAIT_SECONDS" process_ended "$qp_pid" || found "quorpad still runs ${WAIT_SECONDS}s after SIGTERM"
  fi
  xs_reap "$qp_pid"
  status=$?
  [ "$status" -eq 0 ] || found "quorpad ended with status $status at the seed's end"
  log "seed $seed: $((actions_run - first)) actions in ${per_seed}s, nothing found"
done
echo "$xs_tag: ${#seeds[@]} passed, 0 failed ($actions_run actions)"
exit 0
