#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test; exits with CTest's status.
set -euo pipefail
QUORBEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$QUORBEL_ROOT/tools/setup.sh"
quorbel_install_packages
QUORBEL_BUILD_TARGETS=(all)
quorbel_build
export QT_QPA_PLATFORM=offscreen
cd "$QUORBEL_ROOT/build"
exec ctest --output-on-failure -j"$(nproc)" "$@"
