#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quorbel with the given arguments.
set -euo pipefail
QUORBEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$QUORBEL_ROOT/tools/setup.sh"
quorbel_install_packages
QUORBEL_BUILD_TARGETS=(quorbel)
quorbel_build
exec "$QUORBEL_ROOT/build/quorbel" "$@"
