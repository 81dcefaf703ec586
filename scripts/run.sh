#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool against the simulated
# board. Pass --pro to start the Pro edition; other arguments go to the tool.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
tool=quvan-tool
if [ "${1:-}" = "--pro" ]; then tool=quvan-tool-pro; shift; fi
exec "${QUVAN_BUILD_DIR:-$here/build}/bin/$tool" --simulate "$@"
