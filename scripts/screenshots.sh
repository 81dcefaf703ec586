#!/usr/bin/env bash
# Screenshots of the main window (both editions), the message box, the
# communication settings dialog, the wave data dialog and the wave
# information editor, the firmware update and DIP switch dialogs, and the
# first pages of the table and waveform prints (PDF files rendered with
# pdftoppm), under a virtual X server; then the standard edition again at
# 200 % scaling (files ending in -2x.png).
# Output: screenshots/
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
out="${1:-$here/screenshots}"
mkdir -p "$out"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "${QUVAN_BUILD_DIR:-$here/build}/bin/quvan-screenshots" "$out"
# The same desktop at 200 %: twice the pixels each way.
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x2048x24" \
    "${QUVAN_BUILD_DIR:-$here/build}/bin/quvan-screenshots" "$out"
ls "$out"
