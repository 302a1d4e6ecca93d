#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine (run as root):
#   bash tools/bootstrap.sh run    install, build, write the sample directory, start the program
#   bash tools/bootstrap.sh test   install, build, run every test, then the device tests
#                                  once more under AddressSanitizer and UBSan and
#                                  once more under ThreadSanitizer
# BUILD_DIR (default: build) and IRVANTA_SANITIZE=ON are honoured;
# IRVANTA_DEVICE_SANITIZE=0 skips the sanitizer runs of the device tests.
# The test mode also runs every fuzz target of fuzz/ for IRVANTA_FUZZ_SECONDS
# (default 20; 0 skips) in build-fuzz, built with clang (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-run}
build=${BUILD_DIR:-build}

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
          qt6-l10n-tools qt6-translations-l10n libqt6sql6-sqlite libquazip1-qt6-dev libhidapi-dev sqlite3 xvfb xauth
          clang libclang-rt-14-dev poppler-utils libtsan2)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" -G Ninja -DIRVANTA_SANITIZE="${IRVANTA_SANITIZE:-OFF}"
cmake --build "$build" -j"$(nproc)"

case "$mode" in
  run)
    cd "$build/sample"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      exec xvfb-run -a ../irvanta
    fi
    exec ../irvanta
    ;;
  test)
    (cd "$build" && ctest --output-on-failure -j"$(nproc)")
    if [ "${IRVANTA_FUZZ_SECONDS:-20}" != "0" ]; then
      bash tools/fuzz.sh "${IRVANTA_FUZZ_SECONDS:-20}"
    fi
    if [ "${IRVANTA_SANITIZE:-OFF}" = "ON" ] || [ "${IRVANTA_DEVICE_SANITIZE:-1}" = "0" ]; then
      exit 0
    fi
    # The tests labelled "device" (threads, HID layer, simulator) once more
    # under the sanitizers, each in a second build of only what they need:
    # AddressSanitizer with UBSan, then ThreadSanitizer. Little optimisation
    # and short debug info keep those builds quick.
    device_tests_under() { # build dir, cmake options...
      local dir=$1
      shift
      cmake -S . -B "$dir" -G Ninja "$@" -DIRVANTA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1
      mapfile -t targets < <(cd "$dir" && ctest -N -L device | sed -n 's/^ *Test *#[0-9]*: \([^ ]*\).*/\1/p')
      cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
      (cd "$dir" && ctest -L device --output-on-failure -j"$(nproc)")
    }
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 device_tests_under "$build-sanitize" -DIRVANTA_SANITIZE=ON
    # The suppressions file for Qt's own internals is set by the tests.
    device_tests_under "$build-tsan" -DIRVANTA_TSAN=ON
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
