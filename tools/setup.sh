# Shared by run.sh and test.sh: installs missing Debian packages, then
# configures and builds incrementally (Release, Ninja) into ./build.
# Sourced, not run; expects QUORBEL_ROOT to be set.

QUORBEL_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpcre2-dev
  python3 shared-mime-info libglib2.0-bin qt6-translations-l10n
  xvfb xdotool openbox x11-utils dbus at-spi2-core
  fonts-noto-core fonts-droid-fallback libxcb1-dev
)

quorbel_install_packages() {
  local missing=() pkg
  for pkg in "${QUORBEL_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq "${missing[@]}"
}

# QUORBEL_CMAKE_OPTIONS (for example "-DQUORBEL_WERROR=ON", which .ci/run sets) go to
# the configuration, also of a build folder that exists already.
quorbel_build() {
  local build="$QUORBEL_ROOT/build"
  local options=(${QUORBEL_CMAKE_OPTIONS:-})
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$QUORBEL_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${options[@]}" "$@" || return 1
  elif [ ${#options[@]} -gt 0 ]; then
    cmake -S "$QUORBEL_ROOT" -B "$build" "${options[@]}" || return 1
  fi
  cmake --build "$build" --target "${QUORBEL_BUILD_TARGETS[@]}"
}
