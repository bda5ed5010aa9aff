#!/usr/bin/env bash
# Builds the Debian package with cpack and checks it as apt and dpkg will
# see it: the control fields, every file in its place with root ownership and
# plain permissions, a declared dependency for every shared library the
# programs link or load, lintian without errors (when lintian is there),
# the sprite file type recognised by the desktop's MIME database (when its
# tools are there), and an apt installation simulated on a system with no
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
deb=$work/veldra_${version}_${arch}.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veldra ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
dpkg-deb --info "$deb" >"$work/info.txt"
dpkg-deb --contents "$deb" >"$work/contents.txt"

# The files: the programs, the data whole, desktop entries, icons, manual
# pages, the file type and the documents; nothing outside /usr.
listed() { grep -q " \./$1\$" "$work/contents.txt" || fail "the package has no /$1"; }
for path in usr/games/Veldra usr/games/veldra-setup usr/bin/kvfedit usr/bin/kvftool usr/bin/audioconv \
    usr/share/veldra/menu/cursor.bmp usr/share/veldra/video/al_intro.avi usr/share/veldra/Veldra.html \
    usr/share/applications/veldra.desktop usr/share/applications/kvfedit.desktop \
    usr/share/applications/veldra-setup.desktop usr/share/mime/packages/veldra.xml \
    usr/share/man/man6/Veldra.6.gz usr/share/man/man6/veldra-setup.6.gz usr/share/man/man1/kvftool.1.gz \
    usr/share/man/man1/audioconv.1.gz usr/share/man/man1/kvfedit.1.gz \
    usr/share/doc/veldra/copyright usr/share/doc/veldra/changelog.gz; do
  listed "$path"
done
for size in 16x16 32x32 48x48 256x256; do
  for icon in apps/veldra apps/kvfedit apps/veldra-setup mimetypes/image-x-veldra-sprite; do
    listed "usr/share/icons/hicolor/$size/$icon.png"
  done
done
data_files=$(find "$build/data" -type f | wc -l)
packaged=$(grep -c '^-.* \./usr/share/veldra/' "$work/contents.txt" || true)
[ "$data_files" = "$packaged" ] || fail "$packaged data files packaged, $data_files generated"
outside=$(awk '{print $6}' "$work/contents.txt" | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
odd=$(awk '$2 != "root/root" || ($1 !~ /^-rw-r--r--$/ && $1 !~ /^-rwxr-xr-x$/ && $1 !~ /^drwxr-xr-x$/)' "$work/contents.txt")
[ -z "$odd" ] || fail "odd owners or permissions: $odd"

# Every shared library a program links, and the ones it opens at run time,
# comes from a package the package depends on.
root=$work/root
dpkg-deb -x "$deb" "$root"
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort -u)
declared() { grep -qx "$1" <<<"$depends"; }
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
needed=$(for program in "$root"/usr/bin/* "$root"/usr/games/*; do
  readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
# Opened with dlopen: the sound library and the MPEG audio decoder.
checked=()
for library in $needed libopenal.so.1 libmpg123.so.0; do
  owner=$(package_of "$library") || fail "no installed library $library to check"
  declared "$owner" || fail "$library comes from $owner, which is not declared: $(field Depends)"
  checked+=("$library:$owner")
done
echo "libraries linked or loaded, each from a declared package: ${checked[*]}"
declared qt6-qpa-plugins || fail "Qt's platform plugins (loaded by the Qt programs) are not declared"

if command -v lintian >/dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.txt")"
  cat "$work/lintian.txt"
fi

# A sprite file is told from a plain BMP by the type the package declares.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null &&
    [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
  mime=$work/mime/share
  mkdir -p "$mime/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/veldra.xml" "$mime/mime/packages/"
  update-mime-database "$mime/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
  # A codec's tag, or zero (uncompressed), in the compression field.
  compression() { od -An -tx1 -j30 -N4 "$1" | tr -d ' \n'; }
  sprite='' plain=''
  for picture in "$root"/usr/share/veldra/menu/*.bmp; do
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
fi

# apt on a system that has nothing installed yet: every dependency must be
# found in the archive (needs apt's package lists).
if apt-cache policy libsdl2-2.0-0 2>/dev/null | grep -q 'Candidate: [0-9]'; then
  : >"$work/empty-status"
  apt-get install --simulate -o Dir::State::status="$work/empty-status" -o APT::Install-Recommends=false \
    "$deb" >"$work/apt.txt" 2>&1 || fail "apt: $(tail -20 "$work/apt.txt")"
  grep -q "^Inst veldra " "$work/apt.txt" || fail "apt would not install veldra: $(tail -20 "$work/apt.txt")"
  echo "apt on an empty system: $(grep -c '^Inst ' "$work/apt.txt") packages to install, veldra among them"
fi

rm -rf "$work"
echo "Debian package $(basename "$deb"): contents, dependencies and checks passed"
