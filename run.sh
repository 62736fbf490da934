#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
#   ./run.sh               on a desktop (X11 or Wayland)
#   ./run.sh --offscreen   without a display: the windows open on Qt's offscreen platform
#   without a display and without --offscreen, it shows quorvane-clean at work instead
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
  echo "display here (neither DISPLAY nor WAYLAND_DISPLAY is set). Start ./run.sh from a desktop"
  echo "session or over ssh -X, or open the windows invisibly with ./run.sh --offscreen."
  echo
  echo "Meanwhile, here is its job done from the command line with quorvane-clean, on a copy of"
  echo "the sample database:"
  scripts/demo-clean.sh build/selection
  exit 0
fi

exec build/selection/quorvane "$@"
