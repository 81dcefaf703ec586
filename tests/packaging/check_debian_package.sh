#!/usr/bin/env bash
# Builds the Debian package from a build tree (no root needed) and checks it:
# control fields, the files a user gets, that the manual pages are clean roff,
# and that the packed programs run from where they are installed.
#   check_debian_package.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack did not build the package"; }
deb=("$work"/out/*.deb)
[ -f "${deb[0]}" ] || fail "no .deb was written"

info="$(dpkg-deb --info "${deb[0]}")"
for field in "Package: quvan-tool" "Architecture: amd64" "Section: electronics" \
             "Maintainer: " "Description: " "Version: "; do
    grep -q "^ $field" <<<"$info" || fail "control field missing: $field"
done
# The Qt libraries the programs link must be named as dependencies.
grep -Eq '^ Depends:.*libqt6widgets6' <<<"$info" || fail "Depends lacks the Qt widgets library"

files="$(dpkg-deb -c "${deb[0]}" | awk '{print $6}')"
for path in usr/bin/quvan-tool usr/bin/quvan-tool-pro usr/bin/quvan-sim usr/bin/quvan-decode \
            usr/bin/quvan-board usr/bin/quvan-table usr/share/man/man1/quvan-table.1.gz \
            usr/share/applications/quvan-tool.desktop usr/share/applications/quvan-tool-pro.desktop \
            usr/share/icons/hicolor/scalable/apps/quvan-tool.svg \
            usr/share/icons/hicolor/48x48/apps/quvan-tool-pro.png \
            usr/share/man/man1/quvan-tool.1.gz usr/share/man/man1/quvan-sim.1.gz \
            usr/share/man/man1/quvan-decode.1.gz usr/share/man/man1/quvan-board.1.gz \
            usr/share/quvan-tool/Sounds/snd_tada.wav usr/share/doc/quvan-tool/README.md; do
    grep -qx "./$path" <<<"$files" || fail "the package lacks /$path"
done
# Every program of the package has its manual page.
for program in $(grep -E '^\./usr/bin/.' <<<"$files"); do
    name="$(basename "$program")"
    grep -qx "./usr/share/man/man1/$name.1.gz" <<<"$files" || fail "no manual page for $name"
done
# Nothing from the build (tests, benchmarks, libraries) slips in.
if grep -Eq '_test|_bench|\.a$|/include/' <<<"$files"; then fail "build files in the package"; fi

dpkg-deb -x "${deb[0]}" "$work/root"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
    warnings="$(cd "$work/root/usr/share/man" && LC_ALL=C.UTF-8 MANWIDTH=80 \
        man --warnings -l "$page" 2>&1 >/dev/null || true)"
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
for desktop in "$work"/root/usr/share/applications/*.desktop; do
    exec_name="$(sed -n 's/^Exec=//p' "$desktop" | cut -d' ' -f1)"
    icon="$(sed -n 's/^Icon=//p' "$desktop")"
    [ -x "$work/root/usr/bin/$exec_name" ] || fail "$desktop starts a missing program"
    [ -f "$work/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "$desktop names a missing icon"
done
# The installed programs run from /usr/bin: the tool answers --help, and the
# command-line decoder decodes.
QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/quvan-tool" --help | grep -q -- '--simulate' ||
    fail "the installed tool does not start"
printf '[000]:09000 013500\r\n[001]:00560 000560\r\nAve.Freq = 38.0kHz\r\n' |
    "$work/root/usr/bin/quvan-decode" >/dev/null || fail "the installed decoder does not run"
echo "package ok: $(basename "${deb[0]}")"
