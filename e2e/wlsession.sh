# A private Wayland session for the end-to-end scripts, sourced after xsession.sh (whose
# steps, process handling, polling, session bus and status notifier helpers it shares):
# sway on its headless backend and waybar's tray, with folders of their own.
#
#   wl_as_unprivileged SCRIPT FOLDER [PROGRAM]   run as root: runs SCRIPT again as an
#                           unprivileged user, on copies of the scripts, the program folder
#                           FOLDER and another PROGRAM the run needs, that the user owns, and
#                           exits with its status; otherwise returns
#   wl_begin [TOOLS...]     checks the tools; makes $work and the private environment
#   wl_start_sway           sway headless; sets WAYLAND_DISPLAY and SWAYSOCK
#   wl_start_waybar         waybar with only its tray (a status notifier watcher and host)
#   wl_views                the compositor's windows: "pid<TAB>app_id<TAB>title<TAB>visible"

# sway will not run as root, and the root user of a CI machine must not run a desktop
# session anyway: the run goes on as the unprivileged user that every Debian system has
# (nobody), with a home of its own in the run's temporary folder, so that the machine is
# left as it was: no user made, no file written outside that folder. Where that cannot be
# done, the test is skipped (status 77), saying why.
WL_USER=${WL_USER:-nobody}
wl_as_unprivileged() {  # wl_as_unprivileged SCRIPT FOLDER [PROGRAM]
  [ "$(id -u)" -eq 0 ] || return 0
  local script=$1 folder=$2 program=${3:-} stage status
  local more=()
  if ! id -u "$WL_USER" >/dev/null 2>&1 || [ "$(id -u "$WL_USER")" -eq 0 ]; then
    echo "$xs_tag: SKIP: running as root and there is no unprivileged user '$WL_USER' for sway"
    exit 77
  fi
  command -v runuser >/dev/null || { echo "$xs_tag: SKIP: no runuser to switch to '$WL_USER'"; exit 77; }
  stage=$(mktemp -d "${TMPDIR:-/tmp}/quorpad-$xs_tag-stage.XXXXXX") || exit 1
  mkdir -p "$stage/e2e" "$stage/bin" "$stage/home"
  cp "$(dirname "$script")"/*.sh "$stage/e2e/" &&
    cp -P "$folder/quorpad" "$folder"/libtemplate.so* "$stage/bin/" || { rm -rf -- "$stage"; exit 1; }
  if [ -n "$program" ]; then
    cp "$program" "$stage/bin/" || { rm -rf -- "$stage"; exit 1; }
    more=("$stage/bin/$(basename "$program")")
  fi
  chmod 755 "$stage"
  chown -R "$WL_USER:" "$stage"
  log "running as user '$WL_USER'"
  status=0
  runuser -u "$WL_USER" -- env -i PATH="$PATH" LANG="${LANG:-C.UTF-8}" TMPDIR="${TMPDIR:-/tmp}" \
    HOME="$stage/home" \
    WAYLAND_E2E_KEEP="${WAYLAND_E2E_KEEP:-}" QT_LOGGING_RULES="${QT_LOGGING_RULES:-}" \
    bash "$stage/e2e/$(basename "$script")" "$stage/bin" "${more[@]}" || status=$?
  rm -rf -- "$stage"
  exit "$status"
}

wl_begin() {  # wl_begin [MORE-TOOLS...]
  xs_need sway swaymsg waybar jq gdbus dbus-daemon "$@" || return 1
  # What the session needs beyond the tools, said here rather than by a later step failing:
  # sway makes its keymaps and buffers as shared memory in /dev/shm (where it cannot, it
  # crashes at the first key), and Qt draws on Wayland through the qt6-wayland plugin.
  if [ ! -w /dev/shm ] || [ ! -x /dev/shm ]; then
    log "/dev/shm cannot be written by user '$(id -un)': sway needs it for shared memory" \
      "(on a machine a tmpfs of mode 1777; in a chroot, mount one there)"
    return 1
  fi
  if ! compgen -G '/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so' >/dev/null; then
    log "Qt's Wayland platform plugin is missing (scripts/install-deps installs qt6-wayland)"
    return 1
  fi
  xs_prepare || return 1
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
  export QT_QPA_PLATFORM=wayland
}

wl_socket_known() {
  local socket
  socket=$(cd "$XDG_RUNTIME_DIR" && ls -d wayland-[0-9]* 2>/dev/null | grep -v lock | head -n 1)
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1)
  [ -n "$socket" ] && [ -n "$SWAYSOCK" ] || return 1
  export WAYLAND_DISPLAY=$socket SWAYSOCK
}
sway_answers() { timeout 5 swaymsg -t get_version >/dev/null 2>&1; }

wl_start_sway() {
  mkdir -p "$XDG_CONFIG_HOME/sway"
  printf 'output * resolution 1280x800\n' >"$XDG_CONFIG_HOME/sway/config"
  export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
  xs_spawn "$work/sway.log" sway -c "$XDG_CONFIG_HOME/sway/config"
  if ! poll "$WAIT_SECONDS" wl_socket_known || ! poll "$WAIT_SECONDS" sway_answers; then
    log "sway did not start:"
    indent <"$work/sway.log" | tail -n 20
    return 1
  fi
  log "sway on $WAYLAND_DISPLAY"
}

wl_start_waybar() {
  mkdir -p "$XDG_CONFIG_HOME/waybar"
  cat >"$XDG_CONFIG_HOME/waybar/config" <<'EOF'
{ "layer": "top", "position": "bottom", "height": 30,
  "modules-left": [], "modules-center": [], "modules-right": ["tray"],
  "tray": { "icon-size": 20, "spacing": 4 } }
EOF
  xs_spawn "$work/waybar.log" waybar -c "$XDG_CONFIG_HOME/waybar/config"
  if ! poll "$WAIT_SECONDS" sni_host_ready; then
    log "waybar's tray did not register as a host:"
    indent <"$work/waybar.log" | tail -n 20
    return 1
  fi
  log "waybar's tray is up"
}

wl_views() {
  timeout 5 swaymsg -t get_tree 2>/dev/null |
    jq -r '.. | objects | select(.shell? != null) | [.pid, .app_id, .name, .visible] | @tsv'
}
