#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the build with
# the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

quorvane_ensure_packages
jobs=$(nproc)

quorvane_build build
echo "== Tests"
ctest --test-dir build --output-on-failure -j"$jobs"

quorvane_build build-sanitize -DQUORVANE_SANITIZE=ON
echo "== Tests with the address and undefined-behaviour sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
