#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
#   ./run.sh               on a desktop (X11 or Wayland)
#   ./run.sh --offscreen   without a display: the windows open on Qt's offscreen platform
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

quorvane_ensure_packages
quorvane_build build

if [ "${1:-}" = "--offscreen" ]; then
  shift
  export QT_QPA_PLATFORM=offscreen
elif [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quorvane is built (build/selection/quorvane), but it is a desktop program and there is no"
  echo "display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "Start ./run.sh from a desktop session, or over ssh with X forwarding (ssh -X),"
  echo "or run it invisibly with: ./run.sh --offscreen"
  exit 0
fi

exec build/selection/quorvane "$@"
