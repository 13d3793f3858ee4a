#!/bin/sh
# Runs a Windows program under Wine for the cross-built tests: quiet, in a Wine
# prefix of its own (VORELBOX_WINEPREFIX, else one under the user's cache).
# `make windows` prepares the prefix once before the tests run side by side.
WINEPREFIX="${VORELBOX_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/vorelbox-wine}"
export WINEPREFIX
# Wine makes the prefix itself, but only in a folder that exists: on a fresh
# machine even the user's cache folder may not be there yet.
mkdir -p "$(dirname "$WINEPREFIX")"
export WINEARCH=win64
# Names beyond ASCII pass between Linux and Windows as UTF-8.
export LC_ALL="${VORELBOX_WINE_LOCALE:-C.UTF-8}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No window of Wine's own (crash dialogs, the prefix's first set-up).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
wine="${VORELBOX_WINE:-/usr/lib/wine/wine64}"
# One Wine server for the whole run, kept for a minute after the last program
# ends: a program started just as a server was closing down on its own failed
# with "recvmsg: Connection reset by peer". When a server already runs, this
# leaves it be.
"${VORELBOX_WINESERVER:-/usr/lib/wine/wineserver64}" -p60 > /dev/null 2>&1 || true

# Wine itself now and then fails to start a program: it ends at once with an
# error status and prints nothing at all, not even a test program's first line.
# Every program run here prints something when it fails, so such a run is
# started again, at most twice more, and each retry is reported on stderr.
# Standard output and error are kept apart, as the program wrote them.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX") || exec "$wine" "$@"
err=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX") || { rm -f "$out"; exec "$wine" "$@"; }
trap 'rm -f "$out" "$err"' EXIT
trap 'exit 130' INT TERM
retries=""
for attempt in 1 2 3; do
    "$wine" "$@" > "$out" 2> "$err"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -eq 3 ]; then
        break
    fi
    retries="${retries}wine-run.sh: $1 ended with status $status and printed nothing (attempt $attempt); started again
"
    sleep "${VORELBOX_WINE_RETRY_PAUSE:-1}"
done
cat "$out"
printf '%s' "$retries" >&2
cat "$err" >&2
exit "$status"
