# Sourced by the benchmark scripts.
# The benchmarks build out of tree, never into the checkout: in QUORBEL_BENCH_BUILD, or
# else in a folder of the temporary folder named after the checkout.
bench_default_build() {
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    echo "${QUORBEL_BENCH_BUILD:-${TMPDIR:-/tmp}/quorbel-bench-$(printf %s "$here" | md5sum | cut -c1-10)}"
}

# bench_build <folder> <target>: configures a Release build without tests in <folder>
# once (through ccache where installed), then builds <target> there (QUORBEL_BENCH_JOBS
# limits the parallel jobs).
bench_build() {
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    case "$(realpath -m "$1")/" in
    "$here"/*)
        echo "the benchmarks build outside the checkout, not in $1" >&2
        return 1
        ;;
    esac
    if [ ! -f "$1/build.ninja" ]; then
        local launcher=()
        if command -v ccache >/dev/null; then
            launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        fi
        cmake -S "$here" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORBEL_TESTS=OFF \
            "${launcher[@]}" >&2
    fi
    ninja -C "$1" ${QUORBEL_BENCH_JOBS:+-j "$QUORBEL_BENCH_JOBS"} "$2" >&2
}

# bench_timed <times file> <case> <side> <command...>: runs the command once and appends
# "case side wall-clock user system peak-KB" to the times file.
bench_timed() {
    local times="$1" case="$2" side="$3"
    shift 3
    /usr/bin/time -f "$case $side %e %U %S %M" -a -o "$times" "$@"
}

# bench_report <times file> <benchmark> <MB of input per case> <our side>: medians, ratios
# and peak memory of every case, printed and added to the run's table.
bench_report() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/report_times.py" "$@"
}
