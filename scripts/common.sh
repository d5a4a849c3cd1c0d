# Shared by the README's two commands: installs what is missing, then configures and builds.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages. The README says why each one is here. What the program needs to build and
# run, and for its headless screenshot (scripts/run installs only these):
RUN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libglib2.0-dev
  fonts-liberation xdg-utils
  xvfb xauth openbox x11-utils xdotool
)
# and what the tests add: GoogleTest, a French locale, the X tools that drive the real program,
# the desktop-entry and accessibility tools, a screen reader and its speech server, the install
# check's validators, the style checkers.
PACKAGES=(
  "${RUN_PACKAGES[@]}"
  libgtest-dev locales desktop-file-utils libglib2.0-bin
  libxcb-damage0-dev libxcb-xtest0-dev
  trayer x11-xkb-utils dbus xclip
  at-spi2-core python3-pyatspi
  orca speech-dispatcher
  dex
  appstream lintian dpkg-dev file
  weston qt6-wayland
  clang-format-14 shellcheck
)
# scripts/fuzz adds these: clang, its sanitizer and libFuzzer run-time libraries, and the LLVM
# tools that report coverage (llvm-profdata, llvm-cov).
# shellcheck disable=SC2034 # read by scripts/fuzz, which sources this file
FUZZ_PACKAGES=(clang libclang-rt-14-dev libfuzzer-14-dev llvm)

# install_missing [PACKAGE...]: installs those of the packages (by default PACKAGES) that are
# missing.
install_missing() {
  local wanted=("$@") missing=()
  [ $# -gt 0 ] || wanted=("${PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tests read and write amounts under a French locale too (decimal comma).
ensure_french_locale() {
  locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
}

# configure_and_build BUILD_DIR [cmake options...] [-- target...]: builds every target, or only
# the ones named after "--".
configure_and_build() {
  local dir=$1 options=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    options+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$dir" --target "$@"
  else
    cmake --build "$dir"
  fi
}
