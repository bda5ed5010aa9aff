#!/usr/bin/env bash
# Builds the Debian packages with cpack and checks them as apt, dpkg and a
# distribution's packager will see them: each package's control fields and
# files (in their places, in one package each, root-owned with plain
# permissions), a declared dependency for every shared library its programs
# link or load, the distribution's hardening in every program, lintian
# without warnings beyond the ones named below, the AppStream metainfo valid,
# the sprite file type and its thumbnailer working (when the desktop's MIME
# tools are there), and apt installations simulated on a system with no
# package at all (when apt knows the Debian archive).
#
#   debian_package_test.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail

build=$1
work=$2
version=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
arch=$(dpkg --print-architecture)
packages=(veldra veldra-data kvfedit veldra-tools)
declare -A deb section architecture
for package in "${packages[@]}"; do
  architecture[$package]=$arch
done
architecture[veldra-data]=all
section=([veldra]=games [veldra-data]=games [kvfedit]=graphics [veldra-tools]=utils)
for package in "${packages[@]}"; do
  deb[$package]=$work/${package}_${version}_${architecture[$package]}.deb
  [ -f "${deb[$package]}" ] || fail "no ${deb[$package]}: $(ls "$work")"
done
[ "$(find "$work" -maxdepth 1 -name '*.deb' | wc -l)" = "${#packages[@]}" ] || fail "other packages: $(ls "$work")"

# The control fields, and each package unpacked on its own.
for package in "${packages[@]}"; do
  field() { dpkg-deb -f "${deb[$package]}" "$1"; }
  [ "$(field Package)" = "$package" ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "$package Version: $(field Version)"
  [ "$(field Architecture)" = "${architecture[$package]}" ] || fail "$package Architecture: $(field Architecture)"
  [ "$(field Section)" = "${section[$package]}" ] || fail "$package Section: $(field Section)"
  [ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] && [ -n "$(field Homepage)" ] ||
    fail "$package: no maintainer, description or home page"
  dpkg-deb --contents "${deb[$package]}" >"$work/$package.contents"
  dpkg-deb -x "${deb[$package]}" "$work/root-$package"
done

# Every file in its package, and in one package only; nothing outside /usr;
# plain owners and permissions.
listed() { grep -q " \./$2\$" "$work/$1.contents" || fail "$1 has no /$2"; }
for path in usr/games/Veldra usr/games/veldra-setup usr/share/applications/veldra.desktop \
    usr/share/applications/veldra-setup.desktop usr/share/metainfo/org.example.veldra.metainfo.xml \
    usr/share/man/man6/Veldra.6.gz usr/share/man/man6/veldra-setup.6.gz; do
  listed veldra "$path"
done
for path in usr/share/veldra/menu/cursor.bmp usr/share/veldra/video/al_intro.avi usr/share/veldra/Veldra.html; do
  listed veldra-data "$path"
done
for path in usr/bin/kvfedit usr/share/applications/kvfedit.desktop usr/share/man/man1/kvfedit.1.gz \
    usr/share/metainfo/org.example.kvfedit.metainfo.xml; do
  listed kvfedit "$path"
done
for path in usr/bin/kvftool usr/bin/audioconv usr/share/man/man1/kvftool.1.gz usr/share/man/man1/audioconv.1.gz \
    usr/share/mime/packages/veldra.xml usr/share/thumbnailers/veldra-sprite.thumbnailer; do
  listed veldra-tools "$path"
done
for size in 16x16 32x32 48x48 256x256; do
  listed veldra "usr/share/icons/hicolor/$size/apps/veldra.png"
  listed veldra "usr/share/icons/hicolor/$size/apps/veldra-setup.png"
  listed kvfedit "usr/share/icons/hicolor/$size/apps/kvfedit.png"
  listed veldra-tools "usr/share/icons/hicolor/$size/mimetypes/image-x-veldra-sprite.png"
done
for package in "${packages[@]}"; do
  listed "$package" "usr/share/doc/$package/copyright"
  listed "$package" "usr/share/doc/$package/changelog.gz"
  outside=$(awk '{print $6}' "$work/$package.contents" | grep -v -e '^\./$' -e '^\./usr/' || true)
  [ -z "$outside" ] || fail "$package has files outside /usr: $outside"
  odd=$(awk '$2 != "root/root" || ($1 !~ /^-rw-r--r--$/ && $1 !~ /^-rwxr-xr-x$/ && $1 !~ /^drwxr-xr-x$/)' \
    "$work/$package.contents")
  [ -z "$odd" ] || fail "$package: odd owners or permissions: $odd"
done
twice=$(cat "$work"/*.contents | awk '$1 !~ /^d/ {print $6}' | sort | uniq -d)
[ -z "$twice" ] || fail "files in two packages: $twice"
[ -z "$(grep -l ' \./usr/share/veldra/' "$work/veldra.contents" "$work/kvfedit.contents" "$work/veldra-tools.contents" || true)" ] ||
  fail "game data outside veldra-data"
data_files=$(find "$build/data" -type f | wc -l)
packaged=$(grep -c '^-.* \./usr/share/veldra/' "$work/veldra-data.contents" || true)
[ "$data_files" = "$packaged" ] || fail "$packaged data files packaged, $data_files generated"
[ -z "$(grep -E ' \./usr/(bin|games)/.' "$work/veldra-data.contents" || true)" ] || fail "programs in the data package"

# Every shared library a package's programs link, and the ones they open at
# run time, comes from a package it depends on; the game needs its data at
# exactly its own version.
package_of() {
  local path candidate owner
  path=$(ldconfig -p | awk -v so="$1" '$1 == so && /x86-64|64bit/ {print $NF; exit}')
  [ -n "$path" ] || path=$(ldconfig -p | awk -v so="$1" '$1 == so {print $NF; exit}')
  [ -n "$path" ] || return 1
  # dpkg knows each file by the path its package ships, /lib or /usr/lib.
  for candidate in "$path" "$(readlink -f "$path")" "${path#/usr}" "/usr$path"; do
    owner=$(dpkg -S "$candidate" 2>/dev/null | head -1 | cut -d: -f1 || true)
    if [ -n "$owner" ]; then
      echo "$owner"
      return 0
    fi
  done
  return 1
}
declare -A loaded=([veldra]="libopenal.so.1 libmpg123.so.0" [veldra-data]="" [kvfedit]="" [veldra-tools]="libmpg123.so.0")
declare -A plugins=([veldra]=qt6-qpa-plugins [veldra-data]="" [kvfedit]=qt6-qpa-plugins [veldra-tools]="")
for package in "${packages[@]}"; do
  root=$work/root-$package
  depends_line=$(dpkg-deb -f "${deb[$package]}" Depends)
  depends=$(tr ',' '\n' <<<"$depends_line" | sed 's/^ *//; s/ .*//' | sort -u)
  programs=$(find "$root/usr" -type f -perm -u+x \( -path '*/bin/*' -o -path '*/games/*' \) | sort)
  needed=$(for program in $programs; do
    readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
  done | sort -u)
  for library in $needed ${loaded[$package]}; do
    owner=$(package_of "$library") || fail "no installed library $library to check"
    grep -qx "$owner" <<<"$depends" || fail "$package: $library comes from $owner, which is not declared: $depends_line"
  done
  for plugin in ${plugins[$package]}; do
    grep -qx "$plugin" <<<"$depends" || fail "$package: $plugin (loaded by the Qt programs) is not declared"
  done
  if [ "$package" = veldra-data ]; then
    [ -z "$programs" ] && [ -z "$depends_line" ] || fail "veldra-data has programs or dependencies: $depends_line"
  fi
done
grep -q "veldra-data (= $version)" <<<"$(dpkg-deb -f "${deb[veldra]}" Depends)" ||
  fail "the game does not need its data at its own version: $(dpkg-deb -f "${deb[veldra]}" Depends)"
echo "dependencies: $(for p in "${packages[@]}"; do echo "$p: $(dpkg-deb -f "${deb[$p]}" Depends);"; done)"

# The distribution's hardening in every program: position-independent,
# relocations read-only after start and bound at once, the stack protector,
# and the C library's checked functions.
hardened=0
for program in $(find "$work"/root-*/usr -type f -perm -u+x \( -path '*/bin/*' -o -path '*/games/*' \)); do
  name=${program#"$work"/root-}
  # (Each listing is read whole before it is searched: with pipefail, a
  # grep -q leaving early would fail its pipeline.)
  header=$(readelf -hW "$program") dynamic=$(readelf -dW "$program") segments=$(readelf -lW "$program")
  grep -q 'Type:.*DYN' <<<"$header" || fail "$name is not position-independent"
  grep -q 'FLAGS_1.*PIE' <<<"$dynamic" || fail "$name is not marked PIE"
  grep -q 'GNU_RELRO' <<<"$segments" || fail "$name has no read-only relocations"
  grep -Eq 'BIND_NOW|FLAGS_1.*NOW' <<<"$dynamic" || fail "$name does not bind at once"
  symbols=$(readelf --dyn-syms -W "$program")
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$name has no stack protector"
  grep -Eq '__[a-z0-9_]+_chk(@|$| )' <<<"$symbols" || fail "$name uses no fortified function"
  hardened=$((hardened + 1))
done
[ "$hardened" = 5 ] || fail "$hardened programs checked for hardening, 5 expected"
echo "hardening: PIE, full RELRO, stack protector and fortified functions in all $hardened programs"

if command -v lintian >/dev/null; then
  # No warning is left. What lintian still notes (informational only):
  # binary-has-unneeded-section .comment (the compiler's version note, which
  # cpack's strip keeps), and package-contains-documentation-outside-
  # usr-share-doc for /usr/share/veldra/Veldra.html, the player's guide the
  # game's help button opens from its data folder.
  lintian --fail-on warning --tag-display-limit 0 "${deb[@]}" >"$work/lintian.txt" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.txt")"
  cat "$work/lintian.txt"
fi

# The software centres' view: every metainfo file valid, with the desktop
# entry it names beside it.
if command -v appstreamcli >/dev/null; then
  for metainfo in "$work"/root-*/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.txt" 2>&1 ||
      fail "appstreamcli: $(cat "$work/appstream.txt")"
    desktop=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
    [ -f "$(dirname "$metainfo")/../applications/$desktop" ] || fail "$metainfo names $desktop, not in its package"
  done
  echo "AppStream metainfo valid: $(cd "$work" && ls root-*/usr/share/metainfo/*.xml | tr '\n' ' ')"
fi

# A sprite file is told from a plain BMP by the type veldra-tools declares,
# and the thumbnailer it installs makes a picture of one.
tools=$work/root-veldra-tools
data=$work/root-veldra-data
if command -v update-mime-database >/dev/null && command -v gio >/dev/null &&
    [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
  mime=$work/mime/share
  mkdir -p "$mime/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$tools/usr/share/mime/packages/veldra.xml" "$mime/mime/packages/"
  update-mime-database "$mime/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
  # A codec's tag, or zero (uncompressed), in the compression field.
  compression() { od -An -tx1 -j30 -N4 "$1" | tr -d ' \n'; }
  sprite='' plain=''
  for picture in "$data"/usr/share/veldra/menu/*.bmp; do
    case $(compression "$picture") in
    00000000) plain=${plain:-$picture} ;;
    54524c45) sprite=${sprite:-$picture} ;; # "TRLE"
    esac
  done
  [ -n "$sprite" ] && [ -n "$plain" ] || fail "no sprite file or plain BMP among the menu pictures"
  type_of() { XDG_DATA_HOME=$mime XDG_DATA_DIRS=$mime gio info -a standard::content-type "$1" 2>/dev/null |
    sed -n 's/.*standard::content-type: //p'; }
  [ "$(type_of "$sprite")" = image/x-veldra-sprite ] || fail "a sprite file reads as $(type_of "$sprite")"
  [ "$(type_of "$plain")" = image/bmp ] || fail "a plain BMP reads as $(type_of "$plain")"
  echo "file type: $(basename "$sprite") is image/x-veldra-sprite, $(basename "$plain") image/bmp"
fi
entry=$tools/usr/share/thumbnailers/veldra-sprite.thumbnailer
grep -qx 'MimeType=image/x-veldra-sprite;' "$entry" || fail "the thumbnailer is not for sprite files"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
strip=$(find "$data/usr/share/veldra/animals" -iname 'z_r.bmp' | head -1)
[ -n "$strip" ] || fail "no zebra strip to make a thumbnail of"
command=${exec_line//%i/$strip}
command=${command//%o/$work/thumbnail.png}
command=${command//%s/128}
PATH=$tools/usr/bin:$PATH $command || fail "the thumbnailer's command failed: $command"
[ "$(od -An -c -j1 -N3 "$work/thumbnail.png" | tr -d ' ')" = PNG ] || fail "the thumbnailer wrote no PNG"
echo "thumbnailer: $command"
PATH=$tools/usr/bin:$PATH kvftool thumbnail "$data/usr/share/veldra/Veldra.html" "$work/none.png" 128 2>/dev/null &&
  fail "a thumbnail of a page"
[ ! -e "$work/none.png" ] || fail "a failed thumbnail left a file"

# apt on a system that has nothing installed yet: every dependency must be
# found in the archive (needs apt's package lists). The game with its data,
# the editor alone, the tools alone, and everything together.
# (The policy is read whole first: with pipefail, grep -q leaving early
# would fail the pipeline and skip the check.)
policy=$(apt-cache policy libsdl2-2.0-0 2>/dev/null || true)
if grep -q 'Candidate: [0-9]' <<<"$policy"; then
  : >"$work/empty-status"
  simulate() {
    apt-get install --simulate -o Dir::State::status="$work/empty-status" -o APT::Install-Recommends=false \
      "$@" >"$work/apt.txt" 2>&1 || fail "apt with $*: $(tail -20 "$work/apt.txt")"
  }
  simulate "${deb[veldra]}" "${deb[veldra-data]}"
  grep -q "^Inst veldra " "$work/apt.txt" && grep -q "^Inst veldra-data " "$work/apt.txt" ||
    fail "apt would not install the game: $(tail -20 "$work/apt.txt")"
  simulate "${deb[kvfedit]}"
  ! grep -q "^Inst veldra" "$work/apt.txt" || fail "the editor pulls in the game: $(grep '^Inst veldra' "$work/apt.txt")"
  simulate "${deb[veldra-tools]}"
  ! grep -Eq "^Inst (libqt6|qt6|veldra )" "$work/apt.txt" || fail "the tools pull in Qt or the game"
  simulate "${deb[@]}"
  echo "apt on an empty system: $(grep -c '^Inst ' "$work/apt.txt") packages to install for all four"
fi

rm -rf "$work"
echo "Debian packages $(for p in "${packages[@]}"; do basename "${deb[$p]}"; done | tr '\n' ' '): contents, dependencies and checks passed"
