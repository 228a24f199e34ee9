#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test; exits with CTest's status.
set -euo pipefail
QUORBEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$QUORBEL_ROOT/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen   # test discovery and GUI tests need no display
quorbel_install_packages
QUORBEL_BUILD_TARGETS=(all)
quorbel_build
cd "$QUORBEL_ROOT/build"
exec ctest --output-on-failure -j"$(nproc)" "$@"
