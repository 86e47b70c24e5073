# Installs the Debian packages given as arguments that are not installed yet,
# through apt-get, with sudo when not root. Sourced by the build scripts.
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

GAME_PACKAGES=(libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev fonts-dejavu-core
               cmake g++ pkg-config)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick openbox x11-utils)
# The package check (tests/package_check.sh): Debian's validators, and what CPack
# needs to work out the package's library dependencies.
TEST_PACKAGES+=(lintian desktop-file-utils appstream dpkg-dev file)
