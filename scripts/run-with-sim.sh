#!/usr/bin/env bash
# Starts the program; the simulator comes in with the device issue.
set -euo pipefail
bin="$1"
exec "$bin/tavilon"
