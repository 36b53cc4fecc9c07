#!/usr/bin/env bash
# cpack makes a Debian package that declares what the game needs at run time and holds the
# launcher and the map tool in /usr/games, the program, the pictures and courses, the desktop
# entry (valid, starting /usr/games/quonfel), the icons, the AppStream metadata (valid), the
# manual pages and the documentation. lintian finds no error and no warning in it, and no
# missing hardening among its remarks; its output is printed. hardening-check finds nothing
# missing in the programs in it, but control-flow protection: Debian 12's own C start files
# carry no mark of it, so no program linked there gets one; the protected branch targets
# (endbr64) show that our code has it.
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
# The mode and the path of each file, from lines like "-rwxr-xr-x root/root 123 date time ./usr/games/quonfel".
has_file() {
    awk -v mode="$1" -v path="$2" '$1 == mode && $6 == path { found = 1 } END { exit !found }' "$WORK/contents.txt"
}
for path in ./usr/games/quonfel ./usr/games/quonfel-map ./usr/lib/games/quonfel/quonfel; do
    has_file -rwxr-xr-x "$path" || fail "$path is missing or not executable"
done
for name in {0..10}.map {0..23}.bmp front.bmp back.bmp gear.bmp alarm.bmp discontinue.bmp goalin.bmp menu1.bmp \
    number.bmp menu2.bmp; do
    has_file -rw-r--r-- "./usr/share/games/quonfel/$name" || fail "./usr/share/games/quonfel/$name is missing"
done
for path in ./usr/share/applications/org.quonfel.Quonfel.desktop ./usr/share/metainfo/org.quonfel.Quonfel.metainfo.xml \
    ./usr/share/mime/packages/org.quonfel.Quonfel.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.quonfel.Quonfel.svg \
    ./usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/org.quonfel.Quonfel.png \
    ./usr/share/man/man6/quonfel.6.gz ./usr/share/man/man6/quonfel-map.6.gz \
    ./usr/share/doc/quonfel/{copyright,changelog.gz,README.md.gz}; do
    has_file -rw-r--r-- "$path" || fail "$path is missing"
done

dpkg-deb -x "$DEB" "$WORK/root"
ENTRY="$WORK/root/usr/share/applications/org.quonfel.Quonfel.desktop"
desktop-file-validate "$ENTRY" || fail "desktop-file-validate rejects the packaged entry"
grep -qx 'Exec=/usr/games/quonfel --scale auto %f' "$ENTRY" || fail "packaged entry: $(grep '^Exec=' "$ENTRY")"
# A challenge file is of the type the entry opens, by its name and by its first bytes.
grep -qx 'MimeType=application/x-quonfel-challenge;' "$ENTRY" || fail "the entry opens no challenge files"
mkdir "$WORK/mime" && cp -r "$WORK/root/usr/share/mime/packages" "$WORK/mime/"
update-mime-database "$WORK/mime" || fail "update-mime-database rejects the type"
grep -qx 'application/x-quonfel-challenge:\*.quonfel-challenge' "$WORK/mime/globs" || fail "no glob for challenge files"
grep -qa 'quonfel-challenge ' "$WORK/mime/magic" || fail "challenge files are not known by their first bytes"

appstreamcli validate --no-net "$WORK/root/usr/share/metainfo/org.quonfel.Quonfel.metainfo.xml" ||
    fail "appstreamcli rejects the metadata"
# Every setting of the game's table is in the manual page.
manual=$(zcat "$WORK/root/usr/share/man/man6/quonfel.6.gz")
for option in --scale --fullscreen --lang; do
    grep -qF -- "${option//-/\\-}" <<<"$manual" || fail "quonfel(6) lacks $option"
done
for size in 48 64 128 256; do
    [[ $(identify -format %wx%h "$WORK/root/usr/share/icons/hicolor/${size}x$size/apps/org.quonfel.Quonfel.png") == "${size}x$size" ]] ||
        fail "the $size pixel icon has another size"
done

# Info-level remarks are shown too, for the hardening ones among them (BIND_NOW, fortified calls).
lintian --display-info "$DEB" >"$WORK/lintian.txt" 2>&1 || true
echo "--- lintian"
cat "$WORK/lintian.txt"
! grep -E '^[EW]: |hardening-' "$WORK/lintian.txt" || fail "lintian finds fault with the package"
echo "--- hardening-check"
programs=("$WORK/root/usr/lib/games/quonfel/quonfel" "$WORK/root/usr/games/quonfel-map")
hardening-check "${programs[@]}" | tee "$WORK/hardening.txt" || true
! grep ': no' "$WORK/hardening.txt" | grep -v '^ Control flow integrity:' || fail "hardening-check misses some hardening"
if [[ $(uname -m) == x86_64 ]]; then
    for program in "${programs[@]}"; do
        branch_targets=$(objdump -d "$program" | grep -c endbr64 || true)
        ((branch_targets > 0)) || fail "$program has no control-flow protection"
    done
fi
echo "ok"
