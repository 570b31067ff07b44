#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless, then
# builds the Debian package and checks it.
# Then builds everything again under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the tests again: the GUI-free ones,
# and the widget tests, whose dialogs hold pointers into the checkbook
# that an undo can take away.
# The benchmarks only get a smoke run (each once, at its smallest size).
# QUILLET_FUZZ_SECONDS=N also runs the file reader's fuzzer and the
# encrypted-file reader's fuzzer for N seconds each.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package, from the build above: lintian, the desktop files,
# an unpacked install.
./tools/check-package.sh build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_GUI=ON -DQUILLET_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -n "${QUILLET_FUZZ_SECONDS:-}" ]; then
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_GUI=OFF \
    -DQUILLET_TESTS=OFF -DQUILLET_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j "$jobs"
  mkdir -p build-fuzz/corpus build-fuzz/corpus-sealed
  build-fuzz/fuzz/fuzz_reader build-fuzz/corpus fuzz/corpus -max_total_time="$QUILLET_FUZZ_SECONDS"
  build-fuzz/fuzz/fuzz_sealed build-fuzz/corpus-sealed fuzz/corpus-sealed -max_total_time="$QUILLET_FUZZ_SECONDS"
fi
