#!/usr/bin/env bash
# The Debian package from end to end, on this machine: `scripts/build-deb` builds it (lintian
# finding no error), dpkg installs it, its files, manual page, AppStream data and desktop
# entry are checked, an unprivileged user (nobody, with a home in the run's temporary folder)
# runs it with a store of their own (deb_user.sh), and dpkg purges it, leaving nothing of it
# but that user's store. A quorpad package installed before the run is never touched: the
# test is skipped instead.
#
#   deb_test.sh SOURCE_DIR
set -u
xs_tag=deb
. "$(dirname "$0")/xsession.sh"
xs_bound 400 "$0" "$@"

src=${1:-}
[ -x "$src/scripts/build-deb" ] || { echo "usage: deb_test.sh SOURCE_DIR" >&2; exit 2; }
src=$(cd "$src" && pwd -P)
DEB_USER=${DEB_USER:-nobody}
if [ "$(id -u)" -ne 0 ]; then
  echo "$xs_tag: SKIP: installing a package needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' quorpad 2>/dev/null | grep -q 'installed'; then
  echo "$xs_tag: SKIP: a quorpad package is installed on this machine; the test would replace it"
  exit 77
fi
if ! id -u "$DEB_USER" >/dev/null 2>&1 || ! command -v runuser >/dev/null; then
  echo "$xs_tag: SKIP: no unprivileged user '$DEB_USER' to run the package as"
  exit 77
fi
xs_total=5
installed=""

xs_need dpkg-buildpackage lintian appstreamcli man desktop-file-validate || finish
xs_prepare || finish
# Whatever happens, the package does not outlive the run.
purge() { [ -n "$installed" ] && dpkg --purge quorpad >/dev/null 2>&1; installed=""; }
trap 'purge; xs_cleanup' EXIT
trap 'purge; xs_on_signal' TERM INT HUP

begin_step "make deb builds the package and lintian finds no error"
if ! "$src/scripts/build-deb" "$work/deb" >"$work/build.log" 2>&1; then
  fail_step "the build or lintian failed:"
  tail -n 30 "$work/build.log" | indent
  finish
fi
deb=$(ls "$work"/deb/quorpad_*.deb | head -n 1)
pass_step

files=(/usr/bin/quorpad /usr/lib/quorpad/quorpad /usr/share/applications/quorpad.desktop
  /usr/share/icons/hicolor/scalable/apps/quorpad.svg /usr/share/man/man1/quorpad.1.gz
  /usr/share/metainfo/io.github.quorpad.metainfo.xml /usr/share/doc/quorpad/copyright)
begin_step "dpkg installs it: the program folder, the link, the entry, the icon, the page, the metadata"
missing=""
if ! dpkg -i "$deb" >"$work/install.log" 2>&1; then
  fail_step "dpkg -i failed:"
  indent <"$work/install.log"
  finish
fi
installed=yes
for f in "${files[@]}"; do [ -e "$f" ] || missing="$missing $f"; done
if [ -n "$missing" ]; then
  fail_step "missing:$missing"
elif ! compgen -G '/usr/lib/quorpad/libtemplate.so.*' >/dev/null; then
  fail_step "no template engine in /usr/lib/quorpad"
elif [ -e /usr/lib/quorpad/templates.dat ]; then
  fail_step "the package put a store in the program folder"
else
  pass_step
fi

begin_step "man -l shows the page; the AppStream data and the desktop entry validate"
page=$(MANWIDTH=80 man -l /usr/share/man/man1/quorpad.1.gz 2>&1)
if [[ "$page" != *"--copy NAME"* || "$page" != *"XDG_DATA_HOME"* ]]; then
  fail_step "the page lacks its options or environment: $(head -c 300 <<<"$page")"
elif ! appstreamcli validate --no-net /usr/share/metainfo/io.github.quorpad.metainfo.xml \
    >"$work/appstream.log" 2>&1; then
  fail_step "appstreamcli validate:"
  indent <"$work/appstream.log"
elif ! desktop-file-validate /usr/share/applications/quorpad.desktop >"$work/entry.log" 2>&1; then
  fail_step "desktop-file-validate:"
  indent <"$work/entry.log"
else
  pass_step
fi

begin_step "as user '$DEB_USER', quorpad runs with a store of the user's own"
stage="$work/as-user"
mkdir -p "$stage"
cp "$src"/e2e/xsession.sh "$src"/e2e/deb_user.sh "$stage/"
chmod 755 "$work" "$stage"
chown -R "$DEB_USER:" "$stage"
if runuser -u "$DEB_USER" -- env -i PATH="$PATH" LANG="${LANG:-C.UTF-8}" TMPDIR="$stage" \
    HOME="$stage" bash "$stage/deb_user.sh" >"$work/user.log" 2>&1; then
  pass_step
else
  fail_step "the run as '$DEB_USER' failed:"
  indent <"$work/user.log"
fi

begin_step "as root, quorpad --list uses a store of root's own, never the package's folder"
roothome="$work/root-home"
mkdir -p "$roothome"
if ! env -i PATH="$PATH" HOME="$roothome" quorpad --list >"$work/root.log" 2>&1; then
  fail_step "quorpad --list as root failed:"
  indent <"$work/root.log"
elif [ -e /usr/lib/quorpad/templates.dat ] || [ ! -f "$roothome/.local/share/quorpad/templates.dat" ]; then
  fail_step "root's store is not in root's own folder: $(ls -la /usr/lib/quorpad "$roothome/.local/share/quorpad" 2>&1 | head -n 20)"
else
  pass_step
fi

begin_step "dpkg --purge leaves nothing of the package behind"
dpkg --purge quorpad >"$work/purge.log" 2>&1
installed=""
left=""
for f in "${files[@]}" /usr/lib/quorpad /usr/share/doc/quorpad; do [ -e "$f" ] && left="$left $f"; done
user_store=$(ls "$stage"/quorpad-deb-user.*/data/quorpad/templates.dat 2>/dev/null | head -n 1)
if [ -n "$left" ]; then
  fail_step "left behind:$left"
elif [ -z "$user_store" ] || ! grep -q 'Sign' "$user_store"; then
  fail_step "the user's own store went with the package"
elif dpkg-query -W quorpad >/dev/null 2>&1 && dpkg-query -W -f='${Status}' quorpad | grep -q installed; then
  fail_step "dpkg still lists the package"
else
  pass_step
fi
finish
