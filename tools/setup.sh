#!/usr/bin/env bash
# Installs the Debian packages Reefmaw needs to build, test and run, skipping the ones
# already there. Safe to run again: a second run installs nothing.
set -euo pipefail

packages=(
  build-essential make cmake pkg-config
  libsdl2-dev libwayland-dev libpango1.0-dev libcairo2-dev libfontconfig-dev libglib2.0-dev
  zlib1g-dev
  gettext  # msgfmt compiles the translations' catalogues
  libgtest-dev
  fonts-comic-neue fonts-comfortaa fonts-dejavu-core
  libdecor-0-plugin-1-cairo  # title bars under Wayland compositors that leave them to the client
)
case "${1:-}" in
  --test) packages+=(desktop-file-utils appstream groff-base    # desktop metadata, man page
                     clang-format clang-tidy python3              # the style checks
                     locales                                      # localedef, for locale tests
                     lld                                          # links the test programs faster
                     xvfb xauth x11-utils openbox weston xdotool imagemagick) ;;  # the game on real display servers
  --package) packages+=(dpkg-dev file) ;;              # make package: dpkg-shlibdeps for CPack
  --fuzz) packages+=(clang libclang-rt-dev) ;;         # libFuzzer targets
  --screenshot) packages+=(xvfb xauth imagemagick) ;;  # looking at the game headless
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run as root or install them with apt-get." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
