#!/usr/bin/env bash
# Installs quorpad into a temporary prefix with `cmake --install`, runs the installed program
# on a private X session, and takes it out again with scripts/uninstall.
#
#   install_test.sh SOURCE_DIR BUILD_DIR
set -u
xs_tag=install
. "$(dirname "$0")/xsession.sh"
xs_bound 150 "$0" "$@"

src=${1:-}
build=${2:-}
if [ ! -x "$src/scripts/uninstall" ] || [ ! -x "$build/bin/quorpad" ]; then
  echo "usage: install_test.sh SOURCE_DIR BUILD_DIR" >&2
  exit 2
fi
src=$(cd "$src" && pwd -P)
build=$(cd "$build" && pwd -P)
xs_total=8
qp_pid=""
# The installed program must stand on its own, with nothing pointing it at the build.
unset LD_LIBRARY_PATH

xs_begin cmake desktop-file-validate || finish
mkdir "$work/prefix"
prefix=$(cd "$work/prefix" && pwd -P)
folder="$prefix/lib/quorpad"
store="$folder/templates.dat"

install_into_prefix() { cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; }
lock_exists() { [ -e "$store.lock" ]; }
all_files() {  # sets missing to those of the named files that are not there
  missing=""
  for f in "$@"; do [ -f "$f" ] || missing="$missing $f"; done
  [ -z "$missing" ]
}
maps_of() { cat "/proc/$qp_pid/maps" 2>/dev/null; }

# The engine's version as the build generated it, so the library's name is checked against
# the version being built.
version_part() {
  sed -n "s/^#define TEMPLATE_VERSION_$1 //p" "$build/template/include/template/version.h" 2>/dev/null
}
soname="libtemplate.so.$(version_part MAJOR).$(version_part MINOR)"

begin_step "cmake --install puts the program folder, the link, the desktop entry and the icon in place"
if ! install_into_prefix; then
  fail_step "cmake --install failed:"
  indent <"$work/install.log"
elif [ "$soname" = "libtemplate.so.." ] || [ ! -e "$folder/$soname" ]; then
  fail_step "no $soname in $folder"
elif ! all_files "$folder/quorpad" "$store" "$prefix/share/applications/quorpad.desktop" \
       "$prefix/share/icons/hicolor/scalable/apps/quorpad.svg"; then
  fail_step "missing:$missing"
elif [ ! -L "$prefix/bin/quorpad" ] || [ "$(readlink -f "$prefix/bin/quorpad")" != "$folder/quorpad" ]; then
  fail_step "$prefix/bin/quorpad is no link to $folder/quorpad"
else
  pass_step
fi

begin_step "the desktop entry is valid and runs PREFIX/bin/quorpad"
entry="$prefix/share/applications/quorpad.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$entry" 2>/dev/null)
if ! desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || [ -s "$work/validate.log" ]; then
  fail_step "desktop-file-validate objects:"
  indent <"$work/validate.log"
elif [ "$exec_line" != "\"$prefix/bin/quorpad\" %F" ]; then
  fail_step "Exec=$exec_line"
elif ! grep -qx 'MimeType=text/plain;text/html;' "$entry" || ! grep -qx 'StartupWMClass=quorpad' "$entry"; then
  fail_step "no MimeType for text/plain and text/html, or no StartupWMClass: $(cat "$entry")"
else
  pass_step
fi

begin_step "the desktop database offers quorpad for text/plain and text/html"
cache="$prefix/share/applications/mimeinfo.cache"
# xdg-mime asked as a desktop without its own file associations would ask: only the prefix's
# entries, no choices of the user's.
offered_for_text() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" XDG_CONFIG_HOME="$work/config" \
    XDG_CONFIG_DIRS="$work/config" xdg-mime query default text/plain 2>/dev/null
}
if ! command -v update-desktop-database >/dev/null; then
  log "  update-desktop-database is not installed; nothing to check"
  pass_step
elif ! grep -q '^text/plain=.*quorpad.desktop' "$cache" 2>/dev/null ||
     ! grep -q '^text/html=.*quorpad.desktop' "$cache" 2>/dev/null; then
  fail_step "$cache does not list quorpad.desktop for both types: $(cat "$cache" 2>&1)"
elif command -v xdg-mime >/dev/null && [ "$(offered_for_text)" != quorpad.desktop ]; then
  fail_step "xdg-mime offers '$(offered_for_text)' for text/plain"
else
  pass_step
fi

begin_step "installing again keeps the store and its templates"
printf '1\x04Greeting\x04Hello\r\n' >"$store"
cp "$store" "$work/store.kept"
if ! install_into_prefix; then
  fail_step "the second cmake --install failed"
  indent <"$work/install.log"
elif ! cmp -s "$store" "$work/store.kept"; then
  fail_step "the store was overwritten: $(od -c "$store" | head -n 3)"
else
  pass_step
fi

xs_start_x || finish
xs_start_tray || finish

begin_step "PREFIX/bin/quorpad starts with the installed engine and its store"
xs_spawn "$work/quorpad.log" "$prefix/bin/quorpad"
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" "quor - pad"; then
  fail_step "no 'quor - pad' window within ${WAIT_SECONDS}s"
elif ! poll "$WAIT_SECONDS" lock_exists; then
  fail_step "no lock file $store.lock"
elif ! maps_of | grep -qF " $folder/libtemplate.so"; then
  fail_step "the engine was not loaded from $folder: $(maps_of | grep libtemplate)"
elif maps_of | grep -qF " $build/"; then
  fail_step "it loads from the build folder: $(maps_of | grep " $build/" | head -n 3)"
else
  pass_step
fi

begin_step "Exit in the tray menu of the installed program ends it with status 0"
icon=""
if ! poll "$WAIT_SECONDS" find_icon; then
  fail_step "no tray icon"
elif ! click_at $(centre_of "$icon") 3 || ! poll "$WAIT_SECONDS" find_popup; then
  fail_step "no tray menu"
elif ! xdotool key Up Return || ! poll "$WAIT_SECONDS" process_ended "$qp_pid"; then
  # Up from no selection wraps to Exit, the menu's last item.
  fail_step "quorpad is still running after Exit"
else
  xs_reap "$qp_pid"
  status=$?
  [ "$status" = 0 ] && pass_step || fail_step "status $status"
fi
xs_stop "$qp_pid"

begin_step "without its store the installed program says so and ends with status 1"
mv "$store" "$work/store.moved"
xs_spawn "$work/quorpad.log" "$prefix/bin/quorpad"
qp_pid=$spawned_pid
if ! poll "$WAIT_SECONDS" find_window "$qp_pid" quorpad; then
  fail_step "no message box titled 'quorpad'"
elif [ -n "$(xdotool search --all --pid "$qp_pid" --name '^quor - pad$' 2>/dev/null)" ]; then
  fail_step "a 'quor - pad' window exists beside the message box"
else
  timeout 5 xdotool windowactivate --sync "$window" 2>/dev/null
  xdotool key Return
  if ! poll "$WAIT_SECONDS" process_ended "$qp_pid"; then
    fail_step "quorpad is still running after the box was answered"
  else
    xs_reap "$qp_pid"
    status=$?
    [ "$status" = 1 ] && pass_step || fail_step "status $status"
  fi
fi
xs_stop "$qp_pid"
mv "$work/store.moved" "$store"

begin_step "scripts/uninstall leaves exactly the store and the settings file"
echo "[General]" >>"$folder/quorpad.ini"
left=$("$src/scripts/uninstall" "$prefix" >"$work/uninstall.log" 2>&1 &&
  cd "$prefix" && find . ! -type d | sort | tr '\n' ' ')
if [ "$left" != "./lib/quorpad/quorpad.ini ./lib/quorpad/templates.dat " ]; then
  fail_step "left behind: '$left'"
  indent <"$work/uninstall.log"
elif ! cmp -s "$store" "$work/store.kept"; then
  fail_step "the store changed"
else
  pass_step
fi
finish
