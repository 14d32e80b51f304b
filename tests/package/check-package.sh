#!/usr/bin/env bash
# Builds the Debian package of a build tree, unpacks it into a scratch root and
# checks what it installs: the files of a desktop program, valid metadata, and
# programs that run from there. Usage: check-package.sh BUILD_DIR APP_ID VERSION
set -euo pipefail

build=$(cd "$1" && pwd)
app_id=$2
version=$3
scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
debs=("$scratch"/pkg/vorel_*.deb)
[ -f "${debs[0]}" ] || fail "no vorel_*.deb was made"
deb=${debs[0]}

# Dependencies come from the shared libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libstdc++6; do
  grep -q "$lib" <<<"$depends" || fail "the dependencies do not name $lib"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
usr="$root/usr"
has_gui=0
[ -f "$build/src/app/vorel" ] && has_gui=1

expected=(
  bin/vorel-batch
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/icons/hicolor/48x48/apps/$app_id.png
  share/icons/hicolor/256x256/apps/$app_id.png
  share/vorel/examples/co2-gaps.txt
  share/vorel/examples/co2.txt
  share/man/man1/vorel-batch.1
)
[ "$has_gui" = 1 ] && expected+=(bin/vorel)
[ -f "$build/../docs/user-guide.md" ] && expected+=(share/vorel/docs/user-guide.md)
for f in "${expected[@]}"; do
  [ -e "$usr/$f" ] || fail "the package does not install $f"
done

desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop entry not valid"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "AppStream metadata not valid"

# The manual page carries the options of --help.
for option in --window --eigentriples --json --version; do
  grep -q -- "${option//-/\\\\-}" "$usr/share/man/man1/vorel-batch.1" ||
    fail "the manual page does not mention $option"
done

# Shown by man, the page holds every option that --help lists.
if command -v man >/dev/null; then
  shown=$(MANWIDTH=200 man -l "$usr/share/man/man1/vorel-batch.1" 2>/dev/null)
  options=$("$usr/bin/vorel-batch" --help | grep -oE '^ +(-h, )?--[a-z-]+' | grep -oE -- '--[a-z-]+')
  [ "$(wc -w <<<"$options")" -ge 20 ] || fail "--help lists too few options: $options"
  for option in $options; do
    grep -qE -- "(^|[^-a-z])$option([^-a-z]|\$)" <<<"$shown" ||
      fail "man vorel-batch does not show $option"
  done
  grep -q "reads the standard input" <<<"$shown" || fail "man vorel-batch does not tell of -"
else
  echo "man is not installed: the manual page was checked as text only"
fi

# Both installed programs name the version of the build (the desktop program
# answers --version without a display).
printed=$("$usr/bin/vorel-batch" --version)
[ "$printed" = "vorel-batch $version" ] || fail "vorel-batch --version printed '$printed'"
if [ "$has_gui" = 1 ]; then
  printed=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$usr/bin/vorel" --version)
  [ "$printed" = "vorel $version" ] || fail "vorel --version printed '$printed'"
fi

# The installed tool runs on an installed example and gives what the build gives.
args=(--window 24 --eigentriples 1-4 "$usr/share/vorel/examples/co2-gaps.txt")
"$usr/bin/vorel-batch" "${args[@]}" >"$scratch/installed.txt"
"$build/src/cli/vorel-batch" "${args[@]}" >"$scratch/built.txt"
# Two heading lines, then the 468 points.
[ "$(wc -l <"$scratch/installed.txt")" -eq 470 ] || fail "the installed vorel-batch wrote $(wc -l <"$scratch/installed.txt") lines"
cmp -s "$scratch/installed.txt" "$scratch/built.txt" || fail "the installed vorel-batch differs from the built one"

echo "package ok: $(basename "$deb")"
