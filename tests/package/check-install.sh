#!/usr/bin/env bash
# Installs a build tree into a temporary prefix, makes the prefix read-only and
# runs the installed programs there as a user who cannot write it: the desktop
# program must keep its settings in the user's configuration folder, never
# beside itself; vorel-batch reads no settings and writes none; the shared
# files lie where the programs look for them (PREFIX/share/vorel beside
# PREFIX/bin). Usage: check-install.sh BUILD_DIR VERSION
# Exit status 77 (a skipped test) when a tool it needs is missing.
set -euo pipefail

build=$(cd "$1" && pwd)
version=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip() {
  echo "SKIPPED: $*"
  exit 77
}

for tool in timeout find; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
# As root, whom a read-only folder does not stop, the programs run as nobody.
as_user=()
if [ "$(id -u)" = 0 ]; then
  getent passwd nobody >/dev/null || skip "there is no user nobody to run the installed programs"
  group=$(id -gn nobody)
  if command -v setpriv >/dev/null; then
    as_user=("$(command -v setpriv)" --reuid=nobody --regid="$group" --clear-groups --)
  elif command -v runuser >/dev/null; then
    as_user=("$(command -v runuser)" -u nobody --)
  else
    skip "neither setpriv nor runuser is installed to run the programs as nobody"
  fi
fi

scratch=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }
chmod -R a-w,a+rX "$prefix"

# The user's folders, which only they can write.
home="$scratch/home"
config="$home/config"
mkdir -p "$home/runtime"
[ ${#as_user[@]} -gt 0 ] && chown -R nobody "$home"
chmod 700 "$home" "$home/runtime"
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$home/runtime" \
    QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$@"
}

# The programs can be reached by that user, and the prefix is closed to them.
run test -x "$prefix/bin/vorel-batch" ||
  skip "the scratch folder $scratch cannot be reached by the user who runs the programs"
if run touch "$prefix/bin/probe" 2>/dev/null; then
  fail "the read-only prefix can still be written"
fi

# The installed files lie where the installed programs look: share/vorel beside bin.
examples="$prefix/bin/../share/vorel/examples"
for f in co2-gaps.txt co2.txt; do
  [ -f "$examples/$f" ] || fail "the installed examples are not in PREFIX/share/vorel/examples"
done

# vorel-batch runs on an installed example, names the version of the build and
# leaves no settings file anywhere.
printed=$(run "$prefix/bin/vorel-batch" --version)
[ "$printed" = "vorel-batch $version" ] || fail "vorel-batch --version printed '$printed'"
run "$prefix/bin/vorel-batch" --window 24 --eigentriples 1-4 "$examples/co2-gaps.txt" \
  >"$scratch/batch.txt" || fail "the installed vorel-batch failed on an installed example"
[ "$(wc -l <"$scratch/batch.txt")" -eq 470 ] ||
  fail "the installed vorel-batch wrote $(wc -l <"$scratch/batch.txt") lines"
[ -z "$(find "$home" "$prefix" -name vorel.ini)" ] || fail "vorel-batch wrote a settings file"

if [ ! -x "$prefix/bin/vorel" ]; then
  echo "install ok (no desktop program in this build)"
  exit 0
fi

printed=$(run "$prefix/bin/vorel" --version)
[ "$printed" = "vorel $version" ] || fail "vorel --version printed '$printed'"

# The desktop program writes its default settings at its first start; it is
# ended once they are there (or after a minute, when they never come). Run
# with XDG_CONFIG_HOME, then without it (the settings go to ~/.config).
first_start() {
  local settings=$1
  shift
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen \
    "$@" "${as_user[@]}" timeout 60 "$prefix/bin/vorel" >"$scratch/vorel.log" 2>&1 &
  pid=$!
  for _ in $(seq 600); do
    [ -f "$settings" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  if [ ! -f "$settings" ]; then
    cat "$scratch/vorel.log" >&2
    fail "the installed vorel wrote no $settings"
  fi
  if [ "$(head -n 1 "$settings")" != "DATA_OPEN" ] || ! grep -qx "MV_code: nan" "$settings"; then
    fail "$settings does not hold the default settings"
  fi
  found=$(find "$prefix" -name vorel.ini)
  [ -z "$found" ] || fail "a settings file lies in the prefix: $found"
}
first_start "$config/vorel/vorel.ini" XDG_CONFIG_HOME="$config"
first_start "$home/.config/vorel/vorel.ini"

echo "install ok: the settings in the user's configuration folder"
