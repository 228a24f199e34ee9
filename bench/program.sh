#!/bin/bash
# The whole program from a shell, as its users run it: the real executable started
# unattended ("processandclose=1", no display) with one plain ("fox" -> "cat") and one
# regular-expression replacement ([0-9]+ -> "#"), written over the files in place, beside
# the tools people would otherwise pick for the same job: GNU `sed -i`, `perl -pi` and
# `sd` (where installed), each on a fresh copy of the same files. Two sets: 2,000 files
# of 50 KB and 20 files of 20 MB. Start-up, reading the configuration, filling the list,
# the run and the end are all timed.
# The outputs are checked equal first; then the rounds run interleaved (quorbel, sed,
# perl, sd, quorbel, ...), each on a fresh copy; medians, ratios and peak memory are
# printed. Usage: bench/program.sh [build folder]   (QUORBEL_BENCH_ROUNDS, default 5;
# QUORBEL_BENCH_SETS, default "2000x50 20x20480": files x KB)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/bench/build.sh"
build="${1:-$(bench_default_build)}"
rounds="${QUORBEL_BENCH_ROUNDS:-5}"
bench_build "$build" quorbel

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A program folder of its own with the configuration beside the executable.
mkdir "$work/program"
cp "$build/quorbel" "$work/program/"
cat >"$work/program/bench.qvr" <<'QVR'
[PBCH]
act_ers_text=1
[PBMM]
act_ers_text_suchen=fox
act_ers_text_ersetzen=cat
[PBLV]
act_ers_text_liste=1
act_ers_text_liste-0-a=[0-9]+
act_ers_text_liste-0-b=#
act_ers_text_liste-0-c=x/
[PBRB]
out_overwrite=1
out_newimage=0
QVR

# Each tool works on the files of a fresh copy named after it.
run_tool() {
    local dir="$work/$1"
    case "$1" in
    quorbel)
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work" \
            "$work/program/quorbel" processandclose=1 bench.qvr "$dir"/*.txt ;;
    sed) sed -i -e 's/fox/cat/g' -e 's/[0-9]\+/#/g' "$dir"/*.txt ;;
    perl) perl -pi -e 's/fox/cat/g; s/[0-9]+/#/g' "$dir"/*.txt ;;
    sd) sd -s fox cat "$dir"/*.txt && sd '[0-9]+' '#' "$dir"/*.txt ;;
    esac
}
export -f run_tool
export work

tools=(quorbel sed perl)
if command -v sd >/dev/null; then tools+=(sd); else echo "sd is not installed: left out" >&2; fi

fresh() {
    rm -rf "${work:?}/$1"
    cp -r "$work/files" "$work/$1"
}

times="$work/times"
: >"$times"
sizes=()
for set in ${QUORBEL_BENCH_SETS:-2000x50 20x20480}; do
    count="${set%x*}"
    kb="${set#*x}"
    rm -rf "$work/files"
    python3 "$here/bench/batch_files.py" "$work/files" "$count" "$kb"
    sizes+=("$set=$(du -sb --apparent-size "$work/files" | awk '{ printf "%.1f", $1 / 1048576 }')")
    for tool in "${tools[@]}"; do
        fresh "$tool"
        run_tool "$tool"
    done
    for tool in "${tools[@]}"; do
        [ "$tool" = quorbel ] && continue
        if ! diff -rq "$work/quorbel" "$work/$tool" >/dev/null; then
            echo "outputs differ: quorbel and $tool ($set)" >&2
            diff -r "$work/quorbel" "$work/$tool" | head -5 >&2
            exit 1
        fi
    done
    echo "outputs equal: $count files of $kb KB, every tool"
    for ((round = 1; round <= rounds; ++round)); do
        for tool in "${tools[@]}"; do
            fresh "$tool"
            bench_timed "$times" "$set" "$tool" bash -c "run_tool $tool"
        done
    done
    rm -rf "${work:?}/files"
    for tool in "${tools[@]}"; do rm -rf "${work:?}/$tool"; done
done
echo "peak memory is that of the whole process"
bench_report "$times" batch "$(IFS=,; echo "${sizes[*]}")" quorbel
