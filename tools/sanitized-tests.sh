#!/usr/bin/env bash
# Builds the core tests and the batch tool with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, build folder build-asan/) and runs them
# once. Any finding stops the program, so the test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/ensure-packages.sh
ensure_packages fuzz

BUILD_DIR=${ORVANE_ASAN_DIR:-build-asan}
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_SANITIZE=ON -DORVANE_GUI=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target orvane_core_tests orvane-cli
command -v llvm-symbolizer >/dev/null || export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export UBSAN_OPTIONS=print_stacktrace=1
cd "$BUILD_DIR"
# ctest gives every test ORVANE_CLI, the sanitized batch tool of this folder.
ctest --output-on-failure --timeout 600 -j "$(nproc)"
