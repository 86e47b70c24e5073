#!/usr/bin/env bash
# Builds the Debian package of the game and installs it (Debian 12; installs
# what is missing with apt-get, through sudo when not root):
#   build/zelvane_0.4_amd64.deb, then apt-get install ./zelvane_0.4_amd64.deb
# Afterwards the game is in the desktop's menu, and `zelvane` (in /usr/games)
# starts it from any folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
# CPack finds the binaries with file and their library dependencies with
# dpkg-shlibdeps (dpkg-dev); it writes the archive itself, owned by root.
install_missing_packages "${GAME_PACKAGES[@]}" dpkg-dev file

cmake --preset game
cmake --build --preset game -j"$(nproc)"
(cd build && cpack -G DEB)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
cd build
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y ./zelvane_0.4_amd64.deb
echo "Installed: $(dpkg-query -W -f='${Package} ${Version}' zelvane); run it with: zelvane (or /usr/games/zelvane)"
