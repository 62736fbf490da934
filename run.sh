#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

quorvane_ensure_packages
quorvane_build build
exec build/selection/quorvane "$@"
