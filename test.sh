#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
#
# Installs what is missing, builds, and runs every test.
#   ./test.sh              the tests of build/
#   ./test.sh --sanitize   also builds build-asan/ with AddressSanitizer and
#                          UndefinedBehaviorSanitizer and runs every test there
set -euo pipefail
cd "$(dirname "$0")"
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)")

if ((sanitize)); then
  flags="-fsanitize=address,undefined -fno-omit-frame-pointer"
  if [ ! -f build-asan/build.ninja ]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVOK_BENCHMARKS=OFF \
      -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  fi
  cmake --build build-asan --parallel "$(nproc)"
  # Leak reports are off: Qt keeps process-lifetime allocations on purpose.
  (cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --timeout 900 -j "$(nproc)")
fi
