#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
#
# Installs what is missing, builds, and starts the workstation against the
# built-in controller simulator. The workstation's working directory (where the
# daily journal, protocol and archive files go) is run/; its settings file is
# run/tarvok.ini unless TARVOK_INI is set.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

mkdir -p run
for f in lang/*.ini; do
  [ -e "$f" ] && [ ! -e "run/$(basename "$f")" ] && cp "$f" run/
done
export TARVOK_INI="${TARVOK_INI:-$PWD/run/tarvok.ini}"

SIM_LINK="$PWD/run/plc-sim"
rm -f "$SIM_LINK"
build/tarvok-sim --link "$SIM_LINK" --log "$PWD/run/sim.log" &
SIM_PID=$!
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$SIM_LINK" ] && break; sleep 0.1; done
export TARVOK_COM1="$SIM_LINK"
echo "Controller simulator on $(readlink -f "$SIM_LINK") (COM1), log in run/sim.log"

cd run
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under xvfb-run (set DISPLAY to see the window)."
  xvfb-run -a ../build/tarvok "$@"
else
  ../build/tarvok "$@"
fi
