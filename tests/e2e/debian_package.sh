#!/usr/bin/env bash
# cpack makes a Debian package that declares what the game needs at run time and holds the
# launcher, the program, the map tool, the pictures and courses, the desktop entry (valid,
# starting /usr/bin/quonfel), the icon and the manual pages.
source "$(dirname "$0")/e2e_common.bash"

keep_install_manifest
cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$WORK/cpack.log")"
debs=("$WORK"/package/quonfel_*_"$(dpkg --print-architecture)".deb)
[[ -f ${debs[0]} ]] || fail "no quonfel_<version>_<arch>.deb in $(ls "$WORK/package")"
DEB=${debs[0]}

dpkg-deb --info "$DEB" >"$WORK/info.txt" || fail "dpkg-deb --info failed"
[[ $(dpkg-deb --field "$DEB" Package) == quonfel ]] || fail "package name"
[[ $(dpkg-deb --field "$DEB" Section) == games ]] || fail "section"
depends=$(dpkg-deb --field "$DEB" Depends)
# One package name a line, without versions.
depended=$(tr ',' '\n' <<<"$depends" | sed 's/(.*//; s/ //g')
for package in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fontconfig fonts-ipafont-gothic fonts-dejavu-core zenity libc6 libstdc++6; do
    grep -qxF "$package" <<<"$depended" || fail "Depends lacks $package: $depends"
done

dpkg-deb --contents "$DEB" >"$WORK/contents.txt" || fail "dpkg-deb --contents failed"
# The mode and the path of each file, from lines like "-rwxr-xr-x root/root 123 date time ./usr/bin/quonfel".
has_file() {
    awk -v mode="$1" -v path="$2" '$1 == mode && $6 == path { found = 1 } END { exit !found }' "$WORK/contents.txt"
}
for path in ./usr/bin/quonfel ./usr/bin/quonfel-map ./usr/lib/quonfel/quonfel; do
    has_file -rwxr-xr-x "$path" || fail "$path is missing or not executable"
done
for name in {0..10}.map {0..23}.bmp front.bmp back.bmp gear.bmp alarm.bmp discontinue.bmp goalin.bmp menu1.bmp \
    number.bmp menu2.bmp; do
    has_file -rw-r--r-- "./usr/share/quonfel/$name" || fail "./usr/share/quonfel/$name is missing"
done
for path in ./usr/share/applications/org.quonfel.Quonfel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.quonfel.Quonfel.svg ./usr/share/man/man6/quonfel.6 \
    ./usr/share/man/man6/quonfel-map.6; do
    has_file -rw-r--r-- "$path" || fail "$path is missing"
done

dpkg-deb -x "$DEB" "$WORK/root"
ENTRY="$WORK/root/usr/share/applications/org.quonfel.Quonfel.desktop"
desktop-file-validate "$ENTRY" || fail "desktop-file-validate rejects the packaged entry"
grep -qx 'Exec=/usr/bin/quonfel --scale auto' "$ENTRY" || fail "packaged entry: $(grep '^Exec=' "$ENTRY")"
echo "ok"
