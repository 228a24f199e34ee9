# Sourced by the benchmark scripts: bench_build <folder> <target> configures a Release
# build without tests in <folder> once, then builds <target> there.
bench_build() {
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    if [ ! -f "$1/build.ninja" ]; then
        cmake -S "$here" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORBEL_TESTS=OFF
    fi
    ninja -C "$1" "$2"
}
