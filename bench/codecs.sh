#!/bin/bash
# Code-page conversion file to file, as users run it: our encoding change (load with
# detection, save in the new encoding; bench_convert_file) beside the `iconv` and `uconv`
# programs converting the same file, and `cat` copying the same bytes (the floor: reading
# and writing without converting). Four conversions of about 200 MB each: Windows-1252 to
# UTF-8, UTF-16 LE (with its mark) to UTF-8, UTF-8 to UTF-16 LE with its mark, UTF-8 to
# Windows-1252. Every output is compared byte for byte with ours before any timing; the
# rounds run interleaved (ours, iconv, uconv, cat, then iconv, uconv, cat, ours, ...), each
# writing a new file after the cache was written back; medians, ratios and peak memory
# (whole process) are printed.
# Usage: bench/codecs.sh [build folder]   (QUORBEL_BENCH_MB, default 200;
# QUORBEL_BENCH_ROUNDS, default 5; QUORBEL_BENCH_DIR, the folder for the files)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/bench/build.sh"
build="${1:-$(bench_default_build)}"
rounds="${QUORBEL_BENCH_ROUNDS:-5}"
mb="${QUORBEL_BENCH_MB:-200}"
bench_build "$build" bench_convert_file

work="$(mktemp -d "${QUORBEL_BENCH_DIR:-${TMPDIR:-/tmp}}/codecs-XXXXXX")"
trap 'rm -rf "$work"' EXIT
python3 "$here/bench/codec_files.py" "$work" "$mb"
convert="$build/bench_convert_file"

# conversion: input file, our output code and mark, iconv's and uconv's arguments.
cases=(
    "cp1252-utf8|latin-cp1252.txt|65001|-f CP1252 -t UTF-8|-f windows-1252 -t UTF-8"
    "utf16-utf8|mixed-utf16.txt|65001|-f UTF-16 -t UTF-8|-f UTF-16 -t UTF-8 --remove-signature"
    "utf8-utf16|mixed-utf8.txt|1200 bom|-f UTF-8 -t UTF-16LE|-f UTF-8 -t UTF-16LE --add-signature"
    "utf8-cp1252|latin-utf8.txt|0|-f UTF-8 -t CP1252|-f UTF-8 -t windows-1252"
)

# run <side> <case fields...>: one conversion into $work/<side>.out
run() {
    local side="$1" in="$work/$3" out="$work/$1.out"
    rm -f "$out"
    case "$side" in
    ours) "$convert" "$in" "$out" $4 ;;
    iconv)
        # iconv writes no mark for UTF-16LE: the mark comes first, as ours writes it.
        if [[ "$5" == *UTF-16LE* ]]; then printf '\xff\xfe' >"$out"; iconv $5 "$in" >>"$out"
        else iconv $5 "$in" >"$out"; fi ;;
    uconv) uconv $6 -o "$out" "$in" ;;
    cat) cat "$in" >"$out" ;;
    esac
}
export -f run
export work convert

sides=(ours iconv uconv cat)
if ! command -v uconv >/dev/null; then
    echo "uconv is not installed (Debian: icu-devtools): left out" >&2
    sides=(ours iconv cat)
fi
times="$work/times"
: >"$times"
sizes=()
for c in "${cases[@]}"; do
    IFS='|' read -r name file ours iconvArgs uconvArgs <<<"$c"
    sizes+=("$name=$(stat -c %s "$work/$file" | awk '{ printf "%.1f", $1 / 1048576 }')")
    for side in "${sides[@]}"; do
        [ "$side" = cat ] || run "$side" "$name" "$file" "$ours" "$iconvArgs" "$uconvArgs"
    done
    for side in "${sides[@]}"; do
        [ "$side" = ours ] || [ "$side" = cat ] && continue
        if ! cmp -s "$work/ours.out" "$work/$side.out"; then
            echo "$name: the outputs of ours and $side differ" >&2
            cmp "$work/ours.out" "$work/$side.out" | head -3 >&2
            exit 1
        fi
    done
    echo "$name: outputs equal ($(du -m --apparent-size "$work/ours.out" | cut -f1) MB)"
done
for ((round = 1; round <= rounds; ++round)); do
    for c in "${cases[@]}"; do
        IFS='|' read -r name file ours iconvArgs uconvArgs <<<"$c"
        # Each round starts with another side, and every side starts with the disk's
        # cache clean: no side pays for writing back what the one before it wrote.
        for ((k = 0; k < ${#sides[@]}; ++k)); do
            side="${sides[(k + round) % ${#sides[@]}]}"
            rm -f "$work"/*.out
            sync
            bench_timed "$times" "$name" "$side" \
                bash -c 'run "$@"' _ "$side" "$name" "$file" "$ours" "$iconvArgs" "$uconvArgs"
        done
    done
done
echo "cat copies the same bytes without converting: ours / cat is how many times the copy"
bench_report "$times" codecs "$(IFS=,; echo "${sizes[*]}")" ours
