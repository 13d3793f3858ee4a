#!/bin/sh
# Runs a Windows program under Wine for the cross-built tests: quiet, in a Wine
# prefix of its own (VORELBOX_WINEPREFIX, else one under the user's cache).
# `make windows` prepares the prefix once before the tests run side by side.
WINEPREFIX="${VORELBOX_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/vorelbox-wine}"
export WINEPREFIX
export WINEARCH=win64
# Names beyond ASCII pass between Linux and Windows as UTF-8.
export LC_ALL="${VORELBOX_WINE_LOCALE:-C.UTF-8}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No window of Wine's own (crash dialogs, the prefix's first set-up).
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}"
# One Wine server for the whole run, kept for a minute after the last program
# ends: a program started just as a server was closing down on its own failed
# with "recvmsg: Connection reset by peer". When a server already runs, this
# leaves it be.
"${VORELBOX_WINESERVER:-/usr/lib/wine/wineserver64}" -p60 > /dev/null 2>&1 || true
exec "${VORELBOX_WINE:-/usr/lib/wine/wine64}" "$@"
