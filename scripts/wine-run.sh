#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests do, and exits with its exit code:
#   wine-run.sh PROGRAM.exe [ARGUMENT...]
# The Wine prefix is the project's own (made once, outside the source tree), Wine's
# debug chatter is off, it offers to install neither Mono nor Gecko, and the locale is
# UTF-8, so that Chinese text in arguments and output crosses intact.
set -euo pipefail

wine=$(command -v wine || true)
if [ -z "$wine" ]; then
  echo "wine-run: wine was not found; the Windows tests need Debian's wine and wine64 packages" \
       "(bash scripts/install-deps.sh windows)" >&2
  exit 127
fi

export WINEPREFIX=${UNR_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/unique-no-repair/wine64}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Tests start in parallel: the first makes the prefix, the others wait for it.
  mkdir -p "$(dirname "$WINEPREFIX")"
  log=$WINEPREFIX.log
  if ! flock "$WINEPREFIX.lock" bash -c \
       '[ -f "$WINEPREFIX/system.reg" ] || { "$1" wineboot --init && wineserver -w; }' _ "$wine" \
       >"$log" 2>&1; then
    echo "wine-run: Wine could not make its prefix $WINEPREFIX:" >&2
    cat "$log" >&2
    exit 125
  fi
fi

exec "$wine" "$@"
