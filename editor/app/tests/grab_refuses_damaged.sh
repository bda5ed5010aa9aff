#!/bin/sh
# kvfedit --grab on files it cannot open: nobody is there to close a message
# box, so the message goes to standard error and the program ends with
# status 1 (CTest's timeout catches a program left waiting).
set -u
kvfedit=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf 'RIFF\004\000\000\000AVI junk' > "$work/damaged.avi"
printf 'BM\377\377\377\377' > "$work/damaged.bmp"
printf 'not a picture' > "$work/damaged.png"

for file in damaged.avi damaged.bmp damaged.png missing.bmp; do
  "$kvfedit" --grab "$work/out.png" "$work/$file" 2>"$work/err" >/dev/null
  status=$?
  if [ "$status" -ne 1 ]; then
    echo "kvfedit --grab $file: status $status, expected 1"; cat "$work/err"; exit 1
  fi
  if ! grep -q '^kvfedit: ' "$work/err"; then
    echo "kvfedit --grab $file: nothing said on standard error"; exit 1
  fi
  if [ -e "$work/out.png" ]; then
    echo "kvfedit --grab $file: a picture was written"; exit 1
  fi
done
echo "every damaged file refused with status 1"
