#!/usr/bin/env bash
# The English translation covers every text of the tool: lupdate run over the
# sources into a copy of the translation file finds no text without its
# English (a new or changed Italian text shows up as unfinished) and none
# that the sources no longer have.
#
#   translation_complete_test.sh LUPDATE SOURCE_DIR TS_FILE WORK_DIR
set -euo pipefail

lupdate=$1
sources=$2
ts=$3
work=$4

rm -rf "$work"
mkdir -p "$work"
cp "$ts" "$work/check.ts"
"$lupdate" -silent -locations none -source-language it -target-language en "$sources" -ts "$work/check.ts"
left=$(grep -E 'type="(unfinished|vanished|obsolete)"' -B1 "$work/check.ts" | grep '<source>' || true)
if [ -n "$left" ]; then
  echo "FAIL: texts without their English, or English for texts that are gone, in $ts:" >&2
  echo "$left" >&2
  echo "Run lupdate as CONTRIBUTING.md says and translate them." >&2
  exit 1
fi
messages=$(grep -c '<message>' "$work/check.ts")
rm -rf "$work"
echo "$messages texts, each with its English"
