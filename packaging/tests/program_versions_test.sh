#!/usr/bin/env bash
# Every program says its version and its licence with --version, and its
# usage with --help, on standard output with status 0, without a display: a
# packager's scripts and a manual-page maker run them on machines with none.
#
#   program_versions_test.sh VERSION PROGRAM...
set -euo pipefail

version=$1
shift

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# No display of any kind, and no Qt platform chosen for the programs.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export SDL_VIDEODRIVER=none

for program in "$@"; do
  name=$(basename "$program")
  text=$("$program" --version 2>"${TMPDIR:-/tmp}/version-stderr.$$") || fail "$name --version: status $?: $(cat "${TMPDIR:-/tmp}/version-stderr.$$")"
  first=$(head -1 <<<"$text")
  case $first in
  "$name (Veldra) $version" | "Veldra $version") ;;
  *) fail "$name --version begins: $first" ;;
  esac
  grep -q 'GPL-3.0-or-later' <<<"$text" || fail "$name --version names no licence: $text"
  grep -q 'NO WARRANTY' <<<"$text" || fail "$name --version says nothing of the warranty"
  help=$("$program" --help 2>/dev/null) || fail "$name --help: status $?"
  grep -qi 'usage' <<<"$help" || fail "$name --help shows no usage: $help"
  grep -q -- '--version' <<<"$help" || fail "$name --help does not mention --version"
done
rm -f "${TMPDIR:-/tmp}/version-stderr.$$"
echo "$# programs: --version and --help without a display"
