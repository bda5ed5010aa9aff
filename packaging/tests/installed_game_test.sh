#!/usr/bin/env bash
# The suite installed into a fresh prefix and played from there, as a player
# would: HOME is a folder of the test's own, the game starts from a folder
# without data, and the installed data folder is read-only (as a package
# leaves it). The game must find its data, keep its trophy and read its
# settings in the per-user folder, the installed setup tool must read that
# same "config.dat", and a per-user folder that cannot be written must be
# said, while the game still plays and nothing is half-written.
#
#   installed_game_test.sh BUILD_DIR WORK_DIR
set -euo pipefail

build=$1
work=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A read-only prefix left by an earlier run must be writable to go.
if [ -d "$work" ]; then
  chmod -R u+w "$work"
  rm -rf "$work"
fi
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

# The layout.
for path in bin/Veldra bin/kvfedit bin/veldra-setup bin/kvftool bin/audioconv \
    share/veldra/menu/cursor.bmp share/veldra/video/al_intro.avi \
    share/applications/veldra.desktop share/applications/kvfedit.desktop \
    share/applications/veldra-setup.desktop share/mime/packages/veldra.xml \
    share/icons/hicolor/48x48/apps/veldra.png share/icons/hicolor/256x256/apps/kvfedit.png \
    share/icons/hicolor/16x16/apps/veldra-setup.png \
    share/icons/hicolor/32x32/mimetypes/image-x-veldra-sprite.png \
    share/man/man6/Veldra.6.gz share/man/man1/kvftool.1.gz share/man/man1/audioconv.1.gz \
    share/doc/veldra/copyright share/doc/veldra/changelog.gz; do
  [ -e "$prefix/$path" ] || fail "the installation has no $path"
done
diff -r "$build/data" "$prefix/share/veldra" >/dev/null || fail "the installed data differs from the build's"

# Each manual page says what the program's --help says, and renders cleanly.
for page in Veldra.6 veldra-setup.6 kvfedit.1 kvftool.1 audioconv.1; do
  text=$(zcat "$prefix/share/man/man${page##*.}/$page.gz")
  case $text in *".SH SYNOPSIS"*".SH DESCRIPTION"*) ;; *) fail "$page has no synopsis or description" ;; esac
  if command -v groff >/dev/null; then
    warnings=$(printf '%s\n' "$text" | groff -man -ww -z -Tutf8 2>&1 || true)
    [ -z "$warnings" ] || fail "$page: $warnings"
  fi
done
# The game's page: the player's options apart from the testing ones, and
# the keys, files and environment; the other pages have the sections that
# apply to them.
sections() { zcat "$prefix/share/man/$1.gz" | sed -n 's/^\.SH //p' | tr '\n' '|'; }
[ "$(sections man6/Veldra.6)" = "NAME|SYNOPSIS|DESCRIPTION|OPTIONS|TESTING OPTIONS|KEYS|FILES|ENVIRONMENT|" ] ||
  fail "Veldra.6 sections: $(sections man6/Veldra.6)"
testing=$(zcat "$prefix/share/man/man6/Veldra.6.gz" | sed -n '/^\.SH TESTING OPTIONS/,/^\.SH KEYS/p')
options=$(zcat "$prefix/share/man/man6/Veldra.6.gz" | sed -n '/^\.SH OPTIONS/,/^\.SH TESTING OPTIONS/p')
for option in autoplay fixed-dt dump-frames script seed; do
  grep -q -- "$option" <<<"$testing" || fail "Veldra.6 has no --$option among the testing options"
  ! grep -q -- "$option" <<<"$options" || fail "Veldra.6 has --$option among the player's options"
done
for option in data windowed hunt version; do
  grep -q -- "$option" <<<"$options" || fail "Veldra.6 has no --$option among the options"
done
[ "$(sections man6/veldra-setup.6)" = "NAME|SYNOPSIS|DESCRIPTION|KEYS|FILES|ENVIRONMENT|" ] ||
  fail "veldra-setup.6 sections: $(sections man6/veldra-setup.6)"
[ "$(sections man1/kvfedit.1)" = "NAME|SYNOPSIS|DESCRIPTION|KEYS|FILES|ENVIRONMENT|" ] ||
  fail "kvfedit.1 sections: $(sections man1/kvfedit.1)"
for page in kvftool.1 audioconv.1; do
  [ "$(sections "man1/$page")" = "NAME|SYNOPSIS|DESCRIPTION|ENVIRONMENT|" ] || fail "$page sections: $(sections "man1/$page")"
done

# An installed data folder is never written, even where it may be (as the
# superuser may write anywhere): the setup tool, which makes "config.dat" as
# it starts, makes it in the player's own folder.
(
  export HOME=$work/home-writable QT_QPA_PLATFORM=offscreen
  unset XDG_DATA_HOME
  mkdir -p "$HOME"
  show=$("$prefix/bin/veldra-setup" --show)
  grep -qx "config.dat: $HOME/.local/share/veldra/config.dat" <<<"$show" || fail "setup --show (writable data): $show"
  # The tool waits in its dialog; it has made the file by then.
  timeout 5 "$prefix/bin/veldra-setup" >"$work/setup.log" 2>&1 || true
  [ -f "$HOME/.local/share/veldra/config.dat" ] || fail "the setup tool made no config.dat: $(cat "$work/setup.log")"
  [ ! -e "$prefix/share/veldra/config.dat" ] || fail "the setup tool wrote in the installed data folder"
)

# Installed as a package installs it: nobody writes in the data folder.
chmod -R a-w "$prefix/share/veldra"

export HOME=$work/home
unset XDG_DATA_HOME
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null VELDRA_TRACE=off
mkdir -p "$HOME" "$work/elsewhere"
cd "$work/elsewhere"
player=$HOME/.local/share/veldra
hunt=(--windowed --hunt zebra,rifle,plains --autoplay --seed 3 --fixed-dt 0.05)

# The installed setup tool names the player's folder.
show=$("$prefix/bin/veldra-setup" --show)
grep -qx "config.dat: $player/config.dat" <<<"$show" || fail "setup --show: $show"
grep -qx "trophy.bin: $player/trophy.bin" <<<"$show" || fail "setup --show: $show"

# A whole hunt, the data found beside the program; the trophy goes to the
# player's folder (count 1, a zebra), none beside the data.
"$prefix/bin/Veldra" "${hunt[@]}" >"$work/hunt.log" 2>&1 || fail "the hunt ended badly: $(cat "$work/hunt.log")"
[ -f "$player/trophy.bin" ] || fail "no trophy in $player: $(cat "$work/hunt.log")"
[ "$(od -An -tx1 "$player/trophy.bin" | tr -d ' \n')" = 0100000007000000 ] || fail "trophy.bin: $(od -An -tx1 "$player/trophy.bin")"
[ -z "$(find "$prefix/share/veldra" -maxdepth 1 \( -name '*.dat' -o -name '*.bin' \))" ] || fail "files written beside the data"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "files written in the working folder: $(ls -A "$work/elsewhere")"

# The game's settings come from the player's "config.dat": the same hunt
# view drawn in 8-bit and in high colour differs (the 8-bit one is shaded
# through the scenario's palette). The setup tool reads that same file.
view=(--windowed --hunt zebra,rifle,plains --frames 5 --dump-at 5 --seed 1 --fixed-dt 0.05)
keys='keyleft=30
keyright=32
keyup=17
keydown=31
keybut0=57
keybut1=28
keybut2=54
keybut3=157'
printf '[configuration]\nhighcolour=0\n%s\n' "$keys" >"$player/config.dat"
"$prefix/bin/Veldra" "${view[@]}" --dump-frames "$work/view8-%d.png" 2>>"$work/view.log" || fail "hunt view (8-bit)"
printf '[configuration]\nhighcolour=1\n%s\n' "$keys" >"$player/config.dat"
"$prefix/bin/Veldra" "${view[@]}" --dump-frames "$work/view16-%d.png" 2>>"$work/view.log" || fail "hunt view (high colour)"
[ -s "$work/view8-5.png" ] && [ -s "$work/view16-5.png" ] || fail "no hunt view dumps"
! cmp -s "$work/view8-5.png" "$work/view16-5.png" || fail "the game did not read highcolour from $player/config.dat"
show=$("$prefix/bin/veldra-setup" --show)
for line in "highcolour=1" "keyup=17" "keydown=31" "keyleft=30" "keyright=32" "keybut3=157"; do
  grep -qx "$line" <<<"$show" || fail "setup --show does not read $line: $show"
done

# The per-user folder cannot be made (a file stands where a folder should):
# said clearly, the game plays the hunt to its end, nothing is written.
touch "$work/blocker"
before=$(cd "$work" && find . -path ./prefix -prune -o -print | sort)
XDG_DATA_HOME=$work/blocker/data "$prefix/bin/Veldra" "${hunt[@]}" >"$work/blocked.log" 2>&1 ||
  fail "the game did not play on: $(cat "$work/blocked.log")"
grep -q "cannot make the folder $work/blocker/data/veldra" "$work/blocked.log" || fail "no clear message: $(cat "$work/blocked.log")"
grep -q "keeps no trophies" "$work/blocked.log" || fail "no word about the trophies: $(cat "$work/blocked.log")"
after=$(cd "$work" && find . -path ./prefix -prune -o -print | grep -v '^./blocked.log$' | sort)
[ "$before" = "$after" ] || fail "files appeared: $(diff <(echo "$before") <(echo "$after"))"
[ ! -s "$work/blocker" ] || fail "the blocking file was written"

# The per-user folder exists but is read-only: the record already there
# stays as it was, and no temporary file is left beside it.
cp "$player/trophy.bin" "$work/trophy.before"
chmod a-w "$player"
"$prefix/bin/Veldra" "${hunt[@]}" >"$work/readonly.log" 2>&1 || fail "the game did not play on: $(cat "$work/readonly.log")"
chmod u+w "$player"
grep -q "cannot write in the folder $player" "$work/readonly.log" || fail "no clear message: $(cat "$work/readonly.log")"
cmp -s "$player/trophy.bin" "$work/trophy.before" || fail "the trophy record changed"
[ "$(ls -A "$player" | sort | tr '\n' ' ')" = "config.dat trophy.bin " ] || fail "left in $player: $(ls -A "$player")"

# The installed editor opens an installed sprite strip and draws its window;
# the command-line tools read the installed data.
QT_QPA_PLATFORM=offscreen "$prefix/bin/kvfedit" --frames 83 --grab "$work/editor.png" \
  "$prefix/share/veldra/animals/z_r.bmp" >"$work/editor.log" 2>&1 || fail "kvfedit: $(cat "$work/editor.log")"
[ "$(od -An -c -j1 -N3 "$work/editor.png" | tr -d ' ')" = PNG ] || fail "kvfedit drew no window"
"$prefix/bin/kvftool" info "$prefix/share/veldra/animals/z_r.bmp" | grep -q TRLE || fail "kvftool info"
"$prefix/bin/audioconv" info "$prefix/share/veldra/sounds/rifle.wav" >/dev/null || fail "audioconv info"

chmod -R u+w "$work"
rm -rf "$work"
echo "installed game: data found, per-user files shared with the setup tool, unwritable folder handled"
