#!/bin/bash
# The whole program from a shell: the real executable started unattended
# ("processandclose=1", no display) over 2,000 files of 50 KB with one plain ("fox" ->
# "cat") and one regular-expression replacement ([0-9]+ -> "#"), written over the files in
# place, beside GNU sed -i and perl -pi doing the same on copies of the same files. Start-up,
# reading the configuration, filling the list, the run and the end are all timed.
# The three outputs are checked equal first; then the rounds run interleaved (quorbel, sed,
# perl, quorbel, ...), each on a fresh copy; medians, ratios and peak memory are printed.
# Usage: bench/program.sh [build folder]   (QUORBEL_BENCH_ROUNDS, default 5)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-bench}"
rounds="${QUORBEL_BENCH_ROUNDS:-5}"
source "$here/bench/build.sh"
bench_build "$build" quorbel

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/bench/batch_files.py" "$work/files"

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
    esac
}
export -f run_tool
export work
fresh() {
    rm -rf "${work:?}/$1"
    cp -r "$work/files" "$work/$1"
}

tools=(quorbel sed perl)
for tool in "${tools[@]}"; do
    fresh "$tool"
    run_tool "$tool"
done
for tool in sed perl; do
    if ! diff -rq "$work/quorbel" "$work/$tool" >/dev/null; then
        echo "outputs differ: quorbel and $tool" >&2
        diff -r "$work/quorbel" "$work/$tool" | head -5 >&2
        exit 1
    fi
done
echo "outputs equal: $(ls "$work/quorbel" | wc -l) files"

: >"$work/times"
for ((round = 1; round <= rounds; ++round)); do
    for tool in "${tools[@]}"; do
        fresh "$tool"
        /usr/bin/time -f "$tool %e %U %S %M" -a -o "$work/times" bash -c "run_tool $tool"
    done
done

python3 - "$work/times" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    tool, wall, user, sysc, kb = line.split()
    rows.setdefault(tool, []).append((float(wall), float(user) + float(sysc), int(kb)))
med = {t: (statistics.median(r[0] for r in v), statistics.median(r[1] for r in v),
           max(r[2] for r in v)) for t, v in rows.items()}
for t, (wall, cpu, kb) in med.items():
    print(f"{t:8s} median {wall:6.3f} s wall-clock, {cpu:6.3f} s CPU, peak memory {kb / 1024:6.1f} MB"
          f" ({len(rows[t])} rounds)")
q = med["quorbel"]
for peer in ("sed", "perl"):
    p = med[peer]
    print(f"ratio quorbel / {peer}: {q[0] / p[0]:.2f} wall-clock, {q[1] / p[1]:.2f} CPU")
PY
