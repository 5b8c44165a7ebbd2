#!/usr/bin/env bash
# The Debian package as a reader gets it: made by CPack from the build,
# unpacked into a scratch root, its menu entry and AppStream data validated,
# its tamvex-cli run (through a link, as /usr/bin/tamvex-cli runs it) on the
# sample collection it ships.
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/out" > "$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; exit 1; }
deb="$(ls "$root"/out/tamvex_*.deb)"
dpkg-deb -x "$deb" "$root/fs"

fail() { echo "FAIL: $*"; exit 1; }
for f in opt/tamvex/tamvex opt/tamvex/tamvex-cli opt/tamvex/tamvex-jet-reader opt/tamvex/jst.mdb opt/tamvex/Help.htm \
         usr/share/applications/org.tamvex.Tamvex.desktop usr/share/metainfo/org.tamvex.Tamvex.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/tamvex.png usr/share/icons/hicolor/256x256/apps/tamvex.png; do
  [ -e "$root/fs/$f" ] || fail "the package lacks /$f"
done
[ "$(readlink "$root/fs/usr/bin/tamvex")" = /opt/tamvex/tamvex ] || fail "/usr/bin/tamvex is no link to /opt/tamvex/tamvex"
[ "$(readlink "$root/fs/usr/bin/tamvex-cli")" = /opt/tamvex/tamvex-cli ] || fail "/usr/bin/tamvex-cli is no link"
[ ! -e "$root/fs/opt/tamvex/tmp" ] || fail "the package holds a tmp folder"
dpkg-deb -f "$deb" Depends | grep -q libqt6webenginecore6 || fail "dependencies were not worked out from the programs"

desktop-file-validate "$root/fs/usr/share/applications/org.tamvex.Tamvex.desktop"
appstreamcli validate --no-net "$root/fs/usr/share/metainfo/org.tamvex.Tamvex.metainfo.xml"
grep -qx 'Name=Tamvex 古醫籍全文檢索' "$root/fs/usr/share/applications/org.tamvex.Tamvex.desktop" || fail "menu name"
grep -qx 'Exec=tamvex %f' "$root/fs/usr/share/applications/org.tamvex.Tamvex.desktop" || fail "Exec line"

# Run through a link, without --program-folder: the program finds its
# folder through the link, as from /usr/bin.
ln -s "$root/fs/opt/tamvex/tamvex-cli" "$root/tamvex-cli"
rows="$(cd / && "$root/tamvex-cli" search 發熱)"
[ -n "$rows" ] || fail "no rows from the packaged sample collection"
expected="$("$build/tamvex/tamvex-cli" search --program-folder "$build/tamvex" 發熱)"
[ "$rows" = "$expected" ] || fail "the packaged collection gives other rows than the build's"
echo "package ok: $(basename "$deb"), $(echo "$rows" | wc -l) rows for 發熱"
