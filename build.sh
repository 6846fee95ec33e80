#!/usr/bin/env bash
# Sets up, builds and runs Dorv on Debian 12.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build with AddressSanitizer and
#                     UndefinedBehaviorSanitizer, run every test through CTest
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation xvfb x11-utils xdotool
          openbox metacity fluxbox procps
          libwmf-bin fonts-urw-base35 emf2svg view3dscene poppler-utils qt6-translations-l10n python3)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs=$(nproc)
case "${1:-}" in
run)
    install_missing
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORV_TESTS=OFF -DDORV_BENCH=OFF
    cmake --build build -j "$jobs"
    exec ./build/bin/dorv "${@:2}"
    ;;
test)
    install_missing
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDORV_SANITIZE=ON -DDORV_REQUIRE_OUTSIDE_PROGRAMS=ON
    cmake --build build-asan -j "$jobs"
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d)
    chmod 700 "$XDG_RUNTIME_DIR"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: $0 run | test" >&2
    exit 2
    ;;
esac
