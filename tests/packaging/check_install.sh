#!/bin/bash
# An install into a temporary prefix holds every file in its place, the
# desktop entry and the metadata validate, and the installed tessaly-batch
# runs, reads its settings from the user's config folder and completes its
# options in bash.
#   check_install.sh BUILD_DIR SOURCE_DIR APP_ID VERSION
set -u
build=$1 source=$2 id=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix=$work/root/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

share=$prefix/share
expected=(
  bin/tessaly bin/tessaly-batch
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/tessaly.1.gz share/man/man1/tessaly-batch.1.gz
  share/bash-completion/completions/tessaly-batch
  share/doc/tessaly/README.md
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
if [ -d "$source/docs/help" ]; then
  while IFS= read -r f; do expected+=("share/doc/tessaly/help/$f"); done < <(cd "$source/docs/help" && find . -type f | sed 's|^\./||')
fi
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "missing $f"; done
for f in bin/tessaly bin/tessaly-batch; do [ -x "$prefix/$f" ] || fail "$f is not executable"; done

for size in "${sizes[@]}"; do
  file -b "$share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}x${size} icon is not a PNG of that size"
done

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metadata launches another desktop entry"

batch_page=$(zcat "$share/man/man1/tessaly-batch.1.gz")
grep -q '^\.TH TESSALY-BATCH "1"' <<<"$batch_page" || fail "tessaly-batch.1 has no title"
grep -qF '\-\-keep\-ratio' <<<"$batch_page" || fail "tessaly-batch.1 lacks the options"
grep -q '\.config/tessaly/Tessaly.ini' <<<"$batch_page" || fail "tessaly-batch.1 lacks FILES"
zcat "$share/man/man1/tessaly.1.gz" | grep -q "^\.TH TESSALY 1 .*Tessaly $version" || fail "tessaly.1 has no title with the version"

out=$("$prefix/bin/tessaly-batch" --version) || fail "--version failed"
[ "$out" = "tessaly-batch $version" ] || fail "--version printed '$out'"

# The installed program reads the user's settings, not a file beside itself.
mkdir -p "$work/home" "$work/config/tessaly" "$work/pics" "$work/out"
printf '[Thumbnails]\nThumb Width=3\nThumb Height=2\nMaintain Ratio=0\nOutput File Qualifier=Cfg\n' \
  >"$work/config/tessaly/Tessaly.ini"
cp "$source/tests/data/gray.jpg" "$work/pics/"
HOME=$work/home XDG_CONFIG_HOME=$work/config "$prefix/bin/tessaly-batch" thumbs --quiet --out "$work/out" \
  "$work/pics/gray.jpg" >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "the thumbnail run failed"; }
made=$(ls "$work/out")
case "$made" in
  Cfg*.jpg) file -b "$work/out/$made" | grep -q ', 3x2,' || fail "the thumbnail is not 3x2: $(file -b "$work/out/$made")" ;;
  *) fail "the thumbnail run made '$made', not the configured Cfg name" ;;
esac
[ ! -e "$prefix/bin/Tessaly.ini" ] || fail "a settings file appeared beside the installed program"

# Bash completion: modes first, then options and their values.
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tessaly_batch; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$share/bash-completion/completions/tessaly-batch" "$@" | sort | tr '\n' ' '
}
check_completion() {
  local want=$1; shift
  local got; got=$(complete_words "$@")
  [ "$got" = "$want" ] || fail "completing '$*' gave '$got', not '$want'"
}
check_completion "--help --version convert copy rename thumbs undo-rename " tessaly-batch ""
check_completion "convert copy " tessaly-batch "co"
check_completion "--naming --no-auto-orient --no-force --no-keep-location --no-keep-metadata --no-keep-ratio --no-overwrite --null " tessaly-batch thumbs --n
check_completion "PreName PreSeq SufName SufSeq " tessaly-batch thumbs --naming ""
check_completion "bmp emf gif jpg none wmf " tessaly-batch convert --out /tmp --type ""
check_completion "frames plain responsive table " tessaly-batch thumbs --gallery-style ""

[ "$failures" = 0 ] && echo "install tree complete: ${#expected[@]} files checked"
exit $((failures > 0))
