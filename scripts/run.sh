#!/usr/bin/env bash
# Builds Webgrazer and starts it. Without a screen it runs on the layer's in-memory screen
# and writes a picture of the screen after every update (the path is printed).
# An optional argument ends the run after that many seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target Webgrazer

export HAIKU_HEADLESS_SNAPSHOT="${HAIKU_HEADLESS_SNAPSHOT:-$PWD/build/screen.png}"
if [ $# -gt 0 ]; then
	timeout --signal=TERM "$1" build/Webgrazer/Webgrazer || [ $? -eq 124 ]
else
	exec build/Webgrazer/Webgrazer
fi
