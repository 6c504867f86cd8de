#!/usr/bin/env bash
# Start-up: the time from exec to a visible "quor - pad" window, for quorpad with 13 templates
# and for a bare Qt window of the same title and size (the floor), alternating, on a private
# Xvfb with openbox; prints each median and their ratio (goal 1.15). Beside them, the same
# window holding only the controls quorpad's shows first (startup_floor --controls): what
# Qt itself takes to show them, which the bare window does not pay.
#
#   startup_bench.sh PROGRAM_FOLDER [RUNS]
set -u
xs_tag=startup
. "$(dirname "$0")/../e2e/xsession.sh"
BIN_DIR=${1:-}
RUNS=${2:-15}
[ -x "$BIN_DIR/quorpad" ] && [ -x "$BIN_DIR/startup_floor" ] && [ -x "$BIN_DIR/firstwindow" ] ||
  { echo "usage: startup_bench.sh PROGRAM_FOLDER [RUNS]" >&2; exit 2; }
xs_begin || exit 1
xs_copy_program "$BIN_DIR" || exit 1
for i in $(seq 1 13); do printf '1\004Template %s\004Text of template %s\r\n' "$i" "$i"; done \
  >"$work/bin/templates.dat"
xs_start_x || exit 1

# Milliseconds from exec of the command to its window being visible.
time_to_window() { "$BIN_DIR/firstwindow" 'quor - pad' "$@" 2>/dev/null || echo -1; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

ours=() floor=() controls=()
for _ in $(seq 1 "$RUNS"); do
  ours+=("$(time_to_window "$work/bin/quorpad")")
  floor+=("$(time_to_window "$BIN_DIR/startup_floor")")
  controls+=("$(time_to_window "$BIN_DIR/startup_floor" --controls)")
done
o=$(printf '%s\n' "${ours[@]}" | median)
f=$(printf '%s\n' "${floor[@]}" | median)
c=$(printf '%s\n' "${controls[@]}" | median)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'start-up to a visible window: quorpad %s ms, bare Qt window %s ms, ratio %s (goal 1.15), median of %s\n' \
  "$o" "$f" "$(ratio "$o" "$f")" "$RUNS"
printf '  the bare window with only the controls quorpad shows first: %s ms, ratio %s to the bare window; quorpad %s to it\n' \
  "$c" "$(ratio "$c" "$f")" "$(ratio "$o" "$c")"
xs_cleanup
