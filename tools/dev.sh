#!/usr/bin/env bash
# Set-up, build, run and test on Debian 12. Installs the Debian packages it needs first.
#   tools/dev.sh run [reader options]   build the reader alone and start it (today's lesson)
#   tools/dev.sh test                   build everything and run every test: the unit and
#                                       flow tests, the same under ASan+UBSan, short fuzz runs
# The three builds are also CMake presets (CMakePresets.json): plain, sanitizer, fuzz.
#   tools/dev.sh package                build the Debian package (build-package/lekta_*.deb)
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS=$(nproc 2>/dev/null || echo 2)
PACKAGES=(cmake make g++ clang libclang-rt-14-dev clang-format libgtest-dev libgmock-dev
          libbenchmark-dev libicu-dev qt6-base-dev libgl-dev xvfb xauth fonts-dejavu-core culmus
          desktop-file-utils appstream man-db dpkg-dev dbus-daemon at-spi2-core python3-pyatspi
          openbox xdotool python3-icalendar)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -Eq '^install ok (installed|triggers-)' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

configure() {  # dir, cmake options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

configure_and_build() {  # dir, cmake options...
    configure "$@"
    cmake --build "$1" -j"$JOBS"
}

run_tests() {
    echo "== format and layering"
    tools/check_includes.sh
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

    echo "== build and test"
    configure_and_build build -DLEKTA_WERROR=ON
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$JOBS")

    # The Qt layer, the flows and the fault tests included; Qt itself is not instrumented, and
    # tools/lsan.supp names the few leaks that are Qt's own.
    echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
    configure_and_build build-asan -DLEKTA_WERROR=ON -DLEKTA_SANITIZE=ON -DLEKTA_GUI=ON \
        -DLEKTA_BENCH=OFF
    (cd build-asan && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$PWD/../tools/lsan.supp" \
        ctest --output-on-failure -j"$JOBS")

    echo "== fuzz"
    CC=clang CXX=clang++ configure_and_build build-fuzz -DLEKTA_WERROR=ON -DLEKTA_FUZZ=ON \
        -DLEKTA_GUI=OFF -DLEKTA_BENCH=OFF
    bash fuzz/run_all.sh build-fuzz "${LEKTA_FUZZ_SECONDS:-20}"
}

# The package holds the program alone, so only it is built (no tests, no benchmarks).
build_package() {
    cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DLEKTA_BENCH=OFF \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
    cmake --build build-package -j"$JOBS" --target lekta
    (cd build-package && cpack -G DEB)
}

case "${1:-}" in
run)
    shift
    install_packages
    # Only the reader and what it links: no tests, no benchmarks.
    configure build -DLEKTA_BENCH=OFF
    cmake --build build -j"$JOBS" --target lekta
    exec ./build/shell/lekta "$@"
    ;;
test)
    install_packages
    run_tests
    ;;
package)
    install_packages
    build_package
    ;;
*)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
