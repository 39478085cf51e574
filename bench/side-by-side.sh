#!/usr/bin/env bash
# Thumbnails of a folder of JPEG photos by Tessaly and by the tools a user
# would pick instead, timed side by side: 96-pixel thumbnails keeping the
# ratio, JPEG quality 90. Every round runs each tool once, in an order that
# turns from round to round, so that a machine whose speed drifts touches
# them all alike; the table gives medians over the rounds, the wall time
# relative to Tessaly's (the median of the ratios taken round by round),
# and the peak memory of the largest process. Tessaly's dry run of the same
# job (--dry-run: the names and sizes, nothing written) is a row of its own.
#
# A second table does the same over a copy of the folder whose photos are
# tagged as phone portraits (Exif orientation 6, written with exiftool), every
# tool turning them upright (GraphicsMagick and ImageMagick with -auto-orient,
# vipsthumbnail by itself). -T leaves it out.
#
#   bench/side-by-side.sh [-n ROUNDS] [-b TESSALY_BATCH] [-T] FOLDER
#
# Needs /usr/bin/time (package time), and exiftool (libimage-exiftool-perl)
# for the tagged copy. GraphicsMagick (gm, with the size hint that lets its
# JPEG reader scale down), vipsthumbnail and ImageMagick (magick or mogrify)
# are timed when installed.
set -eu

rounds=5
tagged=1
here=$(cd "$(dirname "$0")" && pwd)
batch="$here/../build/bin/tessaly-batch"
usage() { sed -n '2,22p' "$0"; exit 2; }
while getopts "n:b:T" option; do
    case $option in
        n) rounds=$OPTARG ;;
        b) batch=$OPTARG ;;
        T) tagged=0 ;;
        *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] && [ -d "$1" ] || usage
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

# The tools for a folder, as name|command; every command writes into
# $work/out/<name>. $1: the options that turn a photo upright in
# GraphicsMagick and ImageMagick ("" to leave them as stored).
set_tools() {
    local orient=$1
    local job="thumbs --settings \"$work/empty.ini\" --out \"\$out\" --size 96 --keep-ratio --quality 90 --type jpg --quiet \"\$folder\""
    tools=("tessaly|\"$batch\" $job")
    tools+=("tessaly-dry-run|\"$batch\" $job --dry-run")
    command -v gm >/dev/null &&
        tools+=("graphicsmagick|gm mogrify -output-directory \"\$out\" -size 192x192 $orient -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
    command -v vipsthumbnail >/dev/null &&
        tools+=("vipsthumbnail|vipsthumbnail -s 96x96 -o \"\$out/%s.jpg[Q=90]\" \"\${pictures[@]}\"")
    if command -v magick >/dev/null; then
        tools+=("imagemagick|magick mogrify -path \"\$out\" -define jpeg:size=192x192 $orient -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
    elif command -v mogrify >/dev/null; then
        tools+=("imagemagick|mogrify -path \"\$out\" -define jpeg:size=192x192 $orient -thumbnail 96x96 -quality 90 \"\${pictures[@]}\"")
    fi
    return 0
}

# Runs tool $1 once over $folder; appends "round wall cpu peakKB" to
# $work/<name>.times.
run() {
    local name=${tools[$1]%%|*} command=${tools[$1]#*|}
    out="$work/out/$name"
    rm -rf "$out"; mkdir -p "$out"
    if ! /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
        bash -c "cd \"$folder\"; pictures=(\"\$@\"); folder=\"$folder\"; out=\"$out\"; $command" \
        _ "${pictures[@]}" >/dev/null 2>"$work/$name.err"; then
        echo "$name failed:"; cat "$work/$name.err"; exit 1
    fi
    local made; made=$(ls "$out" | wc -l)
    [ "$name" = tessaly-dry-run ] && [ "$made" -eq 0 ] && made=${#pictures[@]}
    [ "$made" -eq ${#pictures[@]} ] || { echo "$name made $made thumbnails of ${#pictures[@]}"; exit 1; }
    [ "$2" -gt 0 ] && awk -v r="$2" '{ print r, $1, $2 + $3, $4 }' "$work/time" >> "$work/$name.times"
    return 0
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Times every tool over $folder and prints the table; $1 is its title.
bench_folder() {
    local count=${#tools[@]} k round
    rm -f "$work"/*.times
    echo
    echo "$1: ${#pictures[@]} pictures in $folder; $rounds rounds after a warm-up; $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
    for ((round = 0; round <= rounds; ++round)); do
        for ((k = 0; k < count; ++k)); do run $(((k + round) % count)) "$round"; done
    done
    printf "\n| %-15s | %-12s | %-12s | %-18s | %-12s |\n" tool "wall s" "cpu s" "wall / Tessaly's" "peak memory"
    printf "|%s|%s|%s|%s|%s|\n" "-----------------" "--------------" "--------------" "--------------------" "--------------"
    for ((k = 0; k < count; ++k)); do
        local name=${tools[$k]%%|*} wall cpu peak ratio range
        wall=$(awk '{ print $2 }' "$work/$name.times" | median)
        cpu=$(awk '{ print $3 }' "$work/$name.times" | median)
        peak=$(awk '{ print $4 }' "$work/$name.times" | median)
        ratio=$(join "$work/$name.times" "$work/tessaly.times" | awk '{ print $2 / $5 }' | median)
        range=$(join "$work/$name.times" "$work/tessaly.times" | awk '{ print $2 / $5 }' | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.2f-%.2f", lo, hi }')
        printf "| %-15s | %12.2f | %12.2f | %5.2f (%-10s) | %9.0f MB |\n" "$name" "$wall" "$cpu" "$ratio" "$range" "$(echo "$peak" | awk '{ print $1 / 1024 }')"
    done
}

folder=$corpus
set_tools ""
bench_folder "As stored"

if [ "$tagged" -eq 1 ]; then
    command -v exiftool >/dev/null || { echo "no exiftool for the tagged copy (apt-get install libimage-exiftool-perl, or -T)"; exit 2; }
    mkdir "$work/tagged"
    exiftool -q -q -n -Orientation=6 -o "$work/tagged/" "${pictures[@]}"
    folder="$work/tagged"
    set_tools "-auto-orient"
    bench_folder "Tagged as phone portraits (orientation 6)"
fi
