#!/usr/bin/env bash
# quorpad --pick: the time from exec of `quorpad --pick` to the picker window shown with the
# keyboard, on a private Xvfb with openbox, at 13 and at 100,000 templates: answered by a
# running quorpad (goal: under 150 ms), and alone, beside a bare Qt window's start-up plus
# the store's read (`quorpad --list` of the store, less that of an empty one). Beside them,
# a bare window holding only the picker's controls, timed as the picker is
# (startup_floor --picker): what Qt itself takes to show them.
#
#   pick_bench.sh PROGRAM_FOLDER [RUNS]
set -u
xs_tag=pick-bench
. "$(dirname "$0")/../e2e/xsession.sh"
BIN_DIR=${1:-}
RUNS=${2:-11}
[ -x "$BIN_DIR/quorpad" ] && [ -x "$BIN_DIR/startup_floor" ] && [ -x "$BIN_DIR/firstwindow" ] ||
  { echo "usage: pick_bench.sh PROGRAM_FOLDER [RUNS]" >&2; exit 2; }
xs_begin || exit 1
xs_copy_program "$BIN_DIR" || exit 1
xs_start_x || exit 1

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
ms_of() {  # ms_of COMMAND...: milliseconds the command takes
  local start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  echo $((($(date +%s%N) - start) / 1000000))
}
picker_gone() { ! xdotool search --onlyvisible --name '^Insert Template$' >/dev/null 2>&1; }
# One pick timed; the window is then closed, by the clock where it ran alone, else by Escape.
pick_once() {
  local ms
  ms=$("$BIN_DIR/firstwindow" --focused 'Insert Template' "$work/bin/quorpad" --pick 2>/dev/null) ||
    ms=-1
  if ! picker_gone; then
    xdotool key Escape
    poll 10 picker_gone
  fi
  echo "$ms"
}
store() {  # store COUNT
  for i in $(seq 1 "$1"); do printf '1\004Template %s\004Text of template %s\r\n' "$i" "$i"; done \
    >"$work/bin/templates.dat"
}

: >"$work/bin/templates.dat"
empty_list=$(for _ in $(seq 1 "$RUNS"); do ms_of "$work/bin/quorpad" --list; done | median)
floor=$(for _ in $(seq 1 "$RUNS"); do "$BIN_DIR/firstwindow" 'quor - pad' "$BIN_DIR/startup_floor"; done | median)
controls=$(for _ in $(seq 1 "$RUNS"); do
  "$BIN_DIR/firstwindow" --focused 'Insert Template' "$BIN_DIR/startup_floor" --picker
done | median)
for count in 13 100000; do
  store "$count"
  list=$(for _ in $(seq 1 "$RUNS"); do ms_of "$work/bin/quorpad" --list; done | median)
  read_ms=$((list > empty_list ? list - empty_list : 0))
  alone=$(for _ in $(seq 1 "$RUNS"); do pick_once; done | median)
  xs_spawn "$work/quorpad.log" "$work/bin/quorpad"
  qp=$spawned_pid
  poll 10 find_window "$qp" "quor - pad"
  running=$(for _ in $(seq 1 "$RUNS"); do pick_once; done | median)
  xs_stop "$qp"
  goal_alone=$(awk -v f="$floor" -v r="$read_ms" 'BEGIN { printf "%.1f", f + r }')
  printf 'picker_bench --pick, %s templates: running quorpad %s ms (goal 150: %s); alone %s ms, bare window %s ms + store read %s ms = %s ms (ratio %s: %s)\n' \
    "$count" "$running" "$(awk -v o="$running" 'BEGIN { print (o < 150 ? "met" : "NOT met") }')" \
    "$alone" "$floor" "$read_ms" "$goal_alone" \
    "$(awk -v o="$alone" -v g="$goal_alone" 'BEGIN { printf "%.2f", o / g }')" \
    "$(awk -v o="$alone" -v g="$goal_alone" 'BEGIN { print (o < g ? "met" : "NOT met") }')"
  printf '  a bare window with only the picker'"'"'s controls: %s ms + store read %s ms; quorpad alone %s to that\n' \
    "$controls" "$read_ms" "$(awk -v o="$alone" -v c="$controls" -v r="$read_ms" 'BEGIN { printf "%.2f", o / (c + r) }')"
done
xs_cleanup
