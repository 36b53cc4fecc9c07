#!/usr/bin/env bash
# Installed into a prefix (its commands in bin/, or in games/ under /usr and /usr/local), the
# launcher runs the game in the player's own folder: made on the first start with links to the
# installed pictures and courses, reused on the next start with
# the player's files and links kept (told once) and links a launcher made for another install
# moved to this one. A folder that cannot be written starts the game only if its files are
# there; a relative HOME is refused. Paths with spaces and a per cent sign on purpose. The
# desktop entry passes desktop-file-validate, and the installed map tool finds the installed
# tile pictures. A relative key file to watch, or map to play, is found from where the player
# stands.
source "$(dirname "$0")/e2e_common.bash"

PREFIX="$WORK/install 100% root"
DATA="$PREFIX/share/games/quonfel"
export HOME="$WORK/home of player"
unset XDG_DATA_HOME
FOLDER="$HOME/.local/share/quonfel"
ENTRY="$PREFIX/share/applications/org.quonfel.Quonfel.desktop"
COURSES=(0 1 2 3 4 5 6 7 8 9 10)
PICTURES=(front back gear alarm discontinue goalin menu1 number menu2 {0..23})
ENGLISH_PICTURES=(en/{front,alarm,discontinue,goalin,menu1,menu2,16,17,18,19,20,21,22,23}.bmp)

# The red highlight bar of the first course row.
BAR_X=480
BAR_Y=110

expect_file() {
    [[ -f $1 ]] || fail "$1 is missing"
}

# Whether $1 is a link to the installed data file of the same name.
links_to_install() {
    [[ -L $1 && $(readlink -- "$1") == "$(cd "$DATA" && pwd -P)/${1##*/}" ]]
}

expect_game_folder() {
    local folder=$1 name
    for name in "${COURSES[@]/%/.map}" "${PICTURES[@]/%/.bmp}"; do
        links_to_install "$folder/$name" || fail "$folder/$name is not a link to the installed $name"
    done
    links_to_install "$folder/en" || fail "$folder/en is not a link to the installed English pictures"
}

# Starts the installed launcher, waits for the course menu and quits with Esc.
play_and_quit() {
    start_program "$WORK" "$PREFIX/bin/quonfel" --scale auto
    expect_pixel $BAR_X $BAR_Y FF0000 "course menu"
    focus_game
    press Escape
    expect_exit 0
}

keep_install_manifest
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "install failed: $(cat "$WORK/install.log")"
for file in "$PREFIX/bin/quonfel" "$PREFIX/bin/quonfel-map" "$PREFIX/lib/games/quonfel/quonfel" "$ENTRY" \
    "$PREFIX/share/icons/hicolor/scalable/apps/org.quonfel.Quonfel.svg" "$PREFIX/share/man/man6/quonfel.6.gz" \
    "$PREFIX/share/man/man6/quonfel-map.6.gz"; do
    expect_file "$file"
done
for name in "${COURSES[@]/%/.map}" "${PICTURES[@]/%/.bmp}" "${ENGLISH_PICTURES[@]}"; do expect_file "$DATA/$name"; done
[[ -x $PREFIX/bin/quonfel && -x $PREFIX/lib/games/quonfel/quonfel ]] || fail "the launcher or the program is not executable"

desktop-file-validate "$ENTRY" || fail "desktop-file-validate rejects the entry"
exec_line=$(grep '^Exec=' "$ENTRY")
[[ $exec_line == "Exec=\"${PREFIX//%/%%}/bin/quonfel\" --scale auto %f" ]] || fail "desktop entry: $exec_line"

# Under /usr and /usr/local the commands go to games/, where Debian puts games; under any
# other prefix (as above) to bin/.
for prefix in /usr /usr/local; do
    DESTDIR="$WORK/staged" cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" 2>&1 ||
        fail "install into $prefix failed: $(cat "$WORK/install.log")"
    [[ -x $WORK/staged$prefix/games/quonfel && -x $WORK/staged$prefix/games/quonfel-map && ! -e $WORK/staged$prefix/bin ]] ||
        fail "$prefix: the commands are not in games/: $(ls "$WORK/staged$prefix")"
    grep -qx "Exec=$prefix/games/quonfel --scale auto %f" "$WORK/staged$prefix/share/applications/org.quonfel.Quonfel.desktop" ||
        fail "$prefix: the desktop entry does not start games/quonfel"
done

# The installed map tool draws with the installed tiles: 128 pixels a tile.
"$PREFIX/bin/quonfel-map" render "$DATA/0.map" "$WORK/course 0.bmp" >/dev/null || fail "render with the installed tiles"
width=$(identify -format %w "$WORK/course 0.bmp")
(( width % 128 == 0 && width > 0 )) || fail "rendered course is $width pixels wide"

start_xvfb

# First start: the folder is made with every link.
play_and_quit
expect_game_folder "$FOLDER"

# Second start: the player's files and links stay; a link left by another install, or by one
# since removed, moves to this one.
printf 'best times' >"$FOLDER/score.dat"
printf 'my own fifth course' >"$FOLDER/5.map.mine"
rm "$FOLDER/5.map"
cp "$FOLDER/5.map.mine" "$FOLDER/5.map"
mkdir -p "$HOME/maps" "$WORK/old root/share/quonfel"
printf 'my own sixth course' >"$HOME/maps/my6.map"
ln -sfn "$HOME/maps/my6.map" "$FOLDER/6.map"
cp "$DATA/4.map" "$WORK/old root/share/quonfel/4.map"
ln -sfn "$WORK/old root/share/quonfel/4.map" "$FOLDER/4.map"
ln -sfn "/nowhere/quonfel/3.map" "$FOLDER/3.map"
cp "$DATA/2.map" "$WORK/old root/share/quonfel/2.map"
ln -sfn "$WORK/old root/share/quonfel/2.map" "$FOLDER/2.map"
sed -i "s|^made 2.map .*|made 2.map $WORK/old root/share/quonfel/2.map|" "$FOLDER/.quonfel-launcher"
play_and_quit
[[ $(cat "$FOLDER/score.dat") == "best times" ]] || fail "score.dat was changed"
[[ ! -L $FOLDER/5.map && $(cat "$FOLDER/5.map") == "my own fifth course" ]] || fail "the player's own 5.map was replaced"
[[ $(readlink "$FOLDER/6.map") == "$HOME/maps/my6.map" ]] || fail "the player's own link 6.map was replaced"
[[ $(readlink "$FOLDER/3.map") == /nowhere/quonfel/3.map ]] || fail "the player's broken link 3.map was replaced"
[[ $(readlink "$FOLDER/4.map") == "$WORK/old root/share/quonfel/4.map" ]] || fail "the player's link 4.map was replaced"
grep -qF "keeping your own 3.map 4.map 5.map 6.map in $FOLDER" "$WORK/game.log" || fail "the launcher did not say what it kept"
links_to_install "$FOLDER/2.map" || fail "the link 2.map made for another install was not moved to this install"
play_and_quit
! grep -q keeping "$WORK/game.log" || fail "the launcher told again what it keeps"

# A folder that cannot be written: one line, and the game starts only if its files are there.
launch() { (cd "$WORK" && env -u DISPLAY "$@" "$PREFIX/bin/quonfel" --version) >"$WORK/out" 2>"$WORK/err"; }
if [[ $(id -u) == 0 ]]; then
    chmod 755 "$WORK" "$HOME"
    mkdir -p "$WORK/empty home/.local/share/quonfel"
    chmod -R a-w "$FOLDER" "$WORK/empty home"
    for home in "$HOME" "$WORK/empty home"; do
        status=0
        launch setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" || status=$?
        [[ $(wc -l <"$WORK/err") == 1 ]] && grep -q "^quonfel: the game folder $home/.* cannot be written" "$WORK/err" ||
            fail "a folder that cannot be written: $(cat "$WORK/err")"
        [[ $status == "$([[ $home == "$HOME" ]] && echo 0 || echo 1)" ]] || fail "$home: status $status"
    done
    chmod -R u+w "$FOLDER"
fi
status=0
launch env HOME="relative home" XDG_DATA_HOME= || status=$?
[[ $status == 1 ]] && grep -qxF "quonfel: HOME (relative home) is not an absolute path, so there is no place for the game folder" \
    "$WORK/err" || fail "a relative HOME: status $status, said '$(cat "$WORK/err")'"
# A pipe in place of the launcher's record holds up nothing and is replaced by a record; nor is
# a link or a pipe planted under the record's name or a name a launcher wrote it through.
printf 'not yours' >"$WORK/victim"
for plant in "mkfifo .quonfel-launcher" "ln -s $WORK/victim .quonfel-launcher" "ln -s $WORK/victim .quonfel-launcher.new" \
    "mkfifo .quonfel-launcher.new"; do
    rm -f "$FOLDER/.quonfel-launcher" "$FOLDER/.quonfel-launcher.new"
    (cd "$FOLDER" && $plant)
    launch timeout 20 && [[ -f $FOLDER/.quonfel-launcher && ! -L $FOLDER/.quonfel-launcher ]] ||
        fail "$plant: status $?"
done
[[ $(cat "$WORK/victim") == "not yours" ]] || fail "the launcher wrote through a planted link"
[[ -z $(find "$FOLDER" -name '.quonfel-launcher.?*' ! -name '*.new') ]] || fail "the launcher left a file behind"

# A key file to watch or race, or a map to play, is named from where the player stands, not
# from the game folder.
for option in "--watch" "--watch=" "--map" "--map=" "--ghost-file" "--ghost-file="; do
    status=0
    case $option in
    --watch) set -- --watch "no such drive.keys" ;;
    --map | --ghost-file) set -- "$option" "no such drive.keys" ;;
    *) set -- "${option}no such drive.keys" ;;
    esac
    (cd "$WORK" && env -u DISPLAY "$PREFIX/bin/quonfel" "$@") >/dev/null 2>"$WORK/err" || status=$?
    [[ $status == 2 ]] && grep -qE "^quonfel: $WORK/no such drive.keys: there is no such file$" "$WORK/err" ||
        fail "$option with a relative file: status $status, said '$(cat "$WORK/err")'"
done
# An empty key file is the game's to refuse.
(cd "$WORK" && env -u DISPLAY "$PREFIX/bin/quonfel" --watch=) >/dev/null 2>"$WORK/err" || true
grep -qxF "quonfel: --watch takes a key file" "$WORK/err" || fail "--watch= said '$(head -n 1 "$WORK/err")'"

# XDG_DATA_HOME names the folder's parent.
export XDG_DATA_HOME="$WORK/data home"
play_and_quit
expect_game_folder "$XDG_DATA_HOME/quonfel"
echo "ok"
