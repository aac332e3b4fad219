#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the programs need.
# Idempotent: when everything is present it only runs one `dpkg -s` check.
set -euo pipefail

PKGS=(
  # toolchain
  cmake g++ make ninja-build pkg-config python3 clang libclang-rt-14-dev
  # libraries
  qt6-base-dev libfluidsynth-dev libasound2-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth poppler-utils python3-mido timgm6mb-soundfont
  # driving the editor under Xvfb and capturing its screen (clicks, xwd, xwd to PNG)
  xdotool x11-apps netpbm
  # music-font build step (run with Debian's /usr/bin/python3)
  lilypond-fonts python3-fontforge
  # text fonts: a UI font and metric-compatible stand-ins for Arial and Verdana
  fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${PKGS[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
