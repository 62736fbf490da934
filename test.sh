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

# ---- Engine fuzzing --------------------------------------------------------------------------
# Bounded libFuzzer runs (clang, address and undefined-behaviour sanitizers), seeded with the
# corpus: first the engine's open, catalogue and scan, then its updates (a refused update must
# leave the file as it was, an accepted one must read back). A crash, a hang, a leak or a broken
# rule fails this script and leaves the input in build-fuzz/fuzz-findings/.
quorvane_build build-fuzz -DQUORVANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
echo "== Fuzzing the engine for 60 s"
tests/jet/fuzz/make_seeds.sh build-fuzz/fuzz-seeds "${QUORVANE_CORPUS:-../shared/corpus}"
mkdir -p build-fuzz/fuzz-inputs build-fuzz/fuzz-findings
build-fuzz/tests/jet/fuzz/jet_fuzzer -max_total_time=60 -rss_limit_mb=2048 -timeout=10 \
  -max_len=262144 -artifact_prefix=build-fuzz/fuzz-findings/ \
  build-fuzz/fuzz-inputs build-fuzz/fuzz-seeds
echo "== Fuzzing the engine's updates for 60 s"
mkdir -p build-fuzz/fuzz-update-inputs
QUORVANE_CORPUS="${QUORVANE_CORPUS:-../shared/corpus}" \
  build-fuzz/tests/jet/fuzz/jet_update_fuzzer -max_total_time=60 -rss_limit_mb=2048 -timeout=10 \
  -max_len=262144 -artifact_prefix=build-fuzz/fuzz-findings/ \
  build-fuzz/fuzz-update-inputs build-fuzz/fuzz-seeds
