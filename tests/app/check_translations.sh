#!/usr/bin/env bash
# The English catalogue against the sources: extracts the texts into a copy
# of the committed .ts file, as `update_translations` would, and fails when
# a text has no translation yet (new, or changed in the sources) or when the
# catalogue still holds a text the sources no longer have. Then lrelease must
# build the catalogue with every translation finished.
#   check_translations.sh LUPDATE LRELEASE TS_FILE SOURCE_LIST [LUPDATE OPTIONS...]
set -euo pipefail
lupdate="$1" lrelease="$2" ts="$3" sources="$4"
shift 4
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/catalogue.ts"
"$lupdate" "$@" "@$sources" -ts "$work/catalogue.ts" > "$work/lupdate.log" 2>&1 || {
    cat "$work/lupdate.log"
    exit 1
}
status=0
if grep -q 'type="unfinished"' "$work/catalogue.ts"; then
    echo "Texts without an English translation (run the update_translations target and translate them in $ts):"
    grep -B2 'type="unfinished"' "$work/catalogue.ts" | grep '<source>' | sed 's/^ *//'
    status=1
fi
if grep -qE 'type="(vanished|obsolete)"' "$work/catalogue.ts"; then
    echo "Texts the sources no longer have (run the update_translations target):"
    grep -B2 -E 'type="(vanished|obsolete)"' "$work/catalogue.ts" | grep '<source>' | sed 's/^ *//'
    status=1
fi
"$lrelease" "$work/catalogue.ts" -qm "$work/catalogue.qm" > "$work/lrelease.log" 2>&1
cat "$work/lrelease.log"
grep -qE 'Generated [0-9]+ translation\(s\) \([0-9]+ finished and 0 unfinished\)' "$work/lrelease.log" ||
    status=1
exit $status
