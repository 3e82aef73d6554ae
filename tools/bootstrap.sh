#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those
# that are missing, so a second run does nothing and asks for nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  googletest libgtest-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqscintilla2-qt6-dev qt6-serialport-dev
  poppler-utils fonts-dejavu-core desktop-file-utils
  clang clang-format libclang-rt-14-dev ccache
  nlohmann-json3-dev neovim
)

# Node.js and npm (for the debug adapter's client test) may come from another
# source than Debian's packages, with npm inside the nodejs package; Debian's
# npm package conflicts with that. Ask for them only when the commands are
# missing.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo -n)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
