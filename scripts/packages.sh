# Installs the Debian packages given as arguments that are not installed yet,
# through apt-get, with sudo when not root. Sourced by the build scripts.
# The package lists are read once per script (the first install that needs
# anything), not before every install.
# The packages given as arguments that are not installed, one per line.
missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
    done
}

install_missing_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ -z "${ZELVANE_APT_UPDATED:-}" ]; then
        $sudo apt-get update -qq
        export ZELVANE_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

GAME_PACKAGES=(libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev fonts-dejavu-core
               cmake g++ pkg-config)
# What building the tests, the benchmarks and the level fuzzer needs.
BUILD_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev)
# What running the checks needs: a virtual display and what drives and looks at
# it; for the package check (tests/package_check.sh), Debian's validators and
# what CPack needs to work out the package's library dependencies.
CHECK_PACKAGES=(xvfb xauth xdotool imagemagick openbox x11-utils
                lintian desktop-file-utils appstream dpkg-dev file)
TEST_PACKAGES=("${BUILD_TEST_PACKAGES[@]}" "${CHECK_PACKAGES[@]}")
