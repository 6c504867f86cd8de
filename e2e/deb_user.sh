#!/usr/bin/env bash
# The packaged quorpad (/usr/bin/quorpad) as an unprivileged user, on a private X session
# with trayer: --version names the user's own store, and a template added through the
# manager lands there, not in the program folder. Run by deb_test.sh as that user.
set -u
xs_tag=deb-user
. "$(dirname "$0")/xsession.sh"
xs_bound 100 "$0" "$@"
xs_total=2
qp_pid=""
xs_keep=1  # deb_test.sh looks at the user's store after the purge, then removes it all

xs_begin || finish
xs_start_x || finish
xs_start_tray || finish
store="$XDG_DATA_HOME/quorpad/templates.dat"
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "${1:-$main}" ]; }
added() { grep -q 'Sign.Regards' "$store" 2>/dev/null; }

begin_step "quorpad --version names the user's own store"
out=$(timeout 20 /usr/bin/quorpad --version 2>&1)
if [[ "$out" != *"Templates: $store (yours)"* ]]; then
  fail_step "it says: $out"
else
  pass_step
fi

begin_step "the installed quorpad starts, and a template added in its manager lands in the user's store"
xs_spawn "$work/quorpad.log" /usr/bin/quorpad
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "no main window"
  indent <"$work/quorpad.log"
  finish
fi
main=$window
poll "$WAIT_SECONDS" find_icon
poll "$WAIT_SECONDS" focused
# The first empty slot opens the manager ready to define it, the name field at hand.
xdotool key Menu
poll "$WAIT_SECONDS" find_popup
sleep 0.3
xdotool key Return
if ! poll "$WAIT_SECONDS" find_prompt "Manage Templates"; then
  fail_step "the manager did not open"
  finish
fi
poll "$WAIT_SECONDS" focused "$prompt"
sleep 0.3
xdotool type --delay 20 'Sign'
xdotool key Tab ctrl+a
xdotool type --delay 20 'Regards'
xdotool key Tab space
if ! poll "$WAIT_SECONDS" added; then
  fail_step "the user's store $store holds: $(od -c "$store" 2>&1 | head -5)"
elif [ -e /usr/lib/quorpad/templates.dat ]; then
  fail_step "a store appeared in the program folder"
else
  pass_step
fi
finish
