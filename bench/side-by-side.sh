#!/usr/bin/env bash
# Thumbnails of a folder of JPEG photos by Tessaly and by the tools a user
# would pick instead, timed side by side: 96-pixel thumbnails keeping the
# ratio, JPEG quality 90. Every round runs each tool once, in an order that
# turns from round to round, so that a machine whose speed drifts touches
# them all alike; the table gives medians over the rounds, the wall time
# relative to Tessaly's (the median of the ratios taken round by round),
# and the peak memory of the largest process.
#
#   bench/side-by-side.sh [-n ROUNDS] [-b TESSALY_BATCH] FOLDER
#
# Needs /usr/bin/time (package time). GraphicsMagick (gm, with the size hint
# that lets its JPEG reader scale down), vipsthumbnail and ImageMagick
# (magick or mogrify) are timed when installed.
set -eu

rounds=5
here=$(cd "$(dirname "$0")" && pwd)
batch="$here/../build/bin/tessaly-batch"
while getopts "n:b:" option; do
    case $option in
        n) rounds=$OPTARG ;;
        b) batch=$OPTARG ;;
        *) sed -n '2,15p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] && [ -d "$1" ] || { sed -n '2,15p' "$0"; exit 2; }
corpus=$(cd "$1" && pwd)
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)"; exit 2; }
[ -x "$batch" ] || { echo "no tessaly-batch at $batch (build first, or give -b)"; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/empty.ini"
shopt -s nullglob nocaseglob
cd "$corpus"
pictures=(*.jpg *.jpeg)
shopt -u nocaseglob
[ ${#pictures[@]} -gt 0 ] || { echo "no JPEG files in $corpus"; exit 2; }

# name|command; every command writes into $work/out/<name>.
tools=("tessaly|\"$batch\" thumbs --settings \"$work/empty.ini\" --out \"\$out\" --size 96 --keep-ratio --quality 90 --type jpg --quiet \"$corpus\"")
command -v gm >/dev/null &&
    tools+=("graphicsmagick|gm mogrify -output-directory \"\$out\" -size 192x192 -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
command -v vipsthumbnail >/dev/null &&
    tools+=("vipsthumbnail|vipsthumbnail -s 96x96 -o \"\$out/%s.jpg[Q=90]\" \"\${pictures[@]}\"")
if command -v magick >/dev/null; then
    tools+=("imagemagick|magick mogrify -path \"\$out\" -define jpeg:size=192x192 -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
elif command -v mogrify >/dev/null; then
    tools+=("imagemagick|mogrify -path \"\$out\" -define jpeg:size=192x192 -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
fi

# Runs tool $1 once; appends "round wall cpu peakKB" to $work/<name>.times.
run() {
    local name=${tools[$1]%%|*} command=${tools[$1]#*|}
    out="$work/out/$name"
    rm -rf "$out"; mkdir -p "$out"
    if ! /usr/bin/time -f "%e %U %S %M" -o "$work/time" bash -c "pictures=(\"\$@\"); out=\"$out\"; $command" \
        _ "${pictures[@]}" >/dev/null 2>"$work/$name.err"; then
        echo "$name failed:"; cat "$work/$name.err"; exit 1
    fi
    local made; made=$(ls "$out" | wc -l)
    [ "$made" -eq ${#pictures[@]} ] || { echo "$name made $made thumbnails of ${#pictures[@]}"; exit 1; }
    [ "$2" -gt 0 ] && awk -v r="$2" '{ print r, $1, $2 + $3, $4 }' "$work/time" >> "$work/$name.times"
    return 0
}

count=${#tools[@]}
echo "${#pictures[@]} pictures in $corpus; $rounds rounds after a warm-up; $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 0; round <= rounds; ++round)); do
    for ((k = 0; k < count; ++k)); do run $(((k + round) % count)) "$round"; done
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
printf "\n| %-15s | %-12s | %-12s | %-18s | %-12s |\n" tool "wall s" "cpu s" "wall / Tessaly's" "peak memory"
printf "|%s|%s|%s|%s|%s|\n" "-----------------" "--------------" "--------------" "--------------------" "--------------"
for ((k = 0; k < count; ++k)); do
    name=${tools[$k]%%|*}
    wall=$(awk '{ print $2 }' "$work/$name.times" | median)
    cpu=$(awk '{ print $3 }' "$work/$name.times" | median)
    peak=$(awk '{ print $4 }' "$work/$name.times" | median)
    ratio=$(join "$work/$name.times" "$work/tessaly.times" | awk '{ print $2 / $5 }' | median)
    range=$(join "$work/$name.times" "$work/tessaly.times" | awk '{ print $2 / $5 }' | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.2f-%.2f", lo, hi }')
    printf "| %-15s | %12.2f | %12.2f | %5.2f (%-10s) | %9.0f MB |\n" "$name" "$wall" "$cpu" "$ratio" "$range" "$(echo "$peak" | awk '{ print $1 / 1024 }')"
done
