#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs them once. The long test that kills saves at random moments is left out: its
# 400 children would take minutes under the sanitizers and test nothing they see.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-asan"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" \
    -DCMAKE_C_FLAGS_DEBUG="-O1 -g1 $flags" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1 $flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DQUORBEL_BENCH=OFF
fi
cmake --build "$build"
cd "$build"
# Qt keeps some allocations until the process ends: leaks are not looked for.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
exec ctest --output-on-failure -j"$(nproc)" -E "KilledSaves" "$@"
