#!/bin/bash
# The Debian package builds, installs with apt-get, runs from the installed
# path, and removes without leaving a file behind. Needs root; skipped
# (exit 77) otherwise, or when a tessaly package is already installed.
#   check_package.sh BUILD_DIR SOURCE_DIR APP_ID VERSION
set -u
build=$1 source=$2 id=$3 version=$4
if [ "$(id -u)" != 0 ]; then echo "skipped: installing a package needs root"; exit 77; fi
# One package check at a time on a machine (several checkouts may test).
exec 9>/run/lock/tessaly-package-check.lock && flock 9
if dpkg-query -W -f='${Status}' tessaly 2>/dev/null | grep -q 'ok installed$'; then
  echo "skipped: a tessaly package is already installed"; exit 77
fi
work=$(mktemp -d)
installed=no
cleanup() {
  [ "$installed" = yes ] && apt-get purge -y -qq -o DPkg::Lock::Timeout=120 tessaly >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/tessaly_"$version"-*_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no tessaly_$version-*.deb"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 libjpeg62-turbo libgif7 libc6 fonts-urw-base35; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 5 ] || fail "the description has no long part"
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "the section is not graphics"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=120 \
  "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; echo "FAIL: apt-get install"; exit 1; }
installed=yes
dpkg -L tessaly | while IFS= read -r f; do [ -f "$f" ] && echo "$f"; done >"$work/files"

for f in /usr/bin/tessaly /usr/bin/tessaly-batch "/usr/share/applications/$id.desktop" \
         "/usr/share/metainfo/$id.metainfo.xml" /usr/share/man/man1/tessaly-batch.1.gz \
         /usr/share/man/man1/tessaly.1.gz; do
  [ -e "$f" ] || fail "the package did not install $f"
done
if command -v man >/dev/null; then
  man -w tessaly-batch >/dev/null 2>&1 || fail "man finds no page for tessaly-batch"
fi
out=$(/usr/bin/tessaly-batch --version) || fail "tessaly-batch --version failed"
[ "$out" = "tessaly-batch $version" ] || fail "--version printed '$out'"

# The settings come from ~/.config/tessaly/ (no XDG_CONFIG_HOME set).
mkdir -p "$work/home/.config/tessaly" "$work/pics" "$work/out"
printf '[Thumbnails]\nOutput File Qualifier=Home\n' >"$work/home/.config/tessaly/Tessaly.ini"
cp "$source/tests/data/gray.jpg" "$source/tests/data/bmp24.bmp" "$work/pics/"
env -u XDG_CONFIG_HOME HOME="$work/home" /usr/bin/tessaly-batch thumbs --quiet --size 4x3 --out "$work/out" \
  "$work/pics" >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "the thumbnail run failed"; }
[ "$(ls "$work/out" | grep -c '^Home.*\.jpg$')" = 2 ] || fail "the thumbnail run made: $(ls "$work/out")"
[ ! -e /usr/bin/Tessaly.ini ] || fail "a settings file appeared in /usr/bin"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=120 tessaly >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get purge"; }
installed=no
dpkg-query -W -f='${Status}' tessaly 2>/dev/null | grep -q 'ok installed$' && fail "tessaly is still installed"
while IFS= read -r f; do [ ! -e "$f" ] || fail "$f is left after removal"; done <"$work/files"
[ ! -e /usr/share/doc/tessaly ] || fail "/usr/share/doc/tessaly is left after removal"

[ "$failures" = 0 ] && echo "package $(basename "$deb") installed, ran and removed cleanly"
exit $((failures > 0))
