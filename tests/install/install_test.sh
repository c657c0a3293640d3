#!/usr/bin/env bash
# install_test.sh BUILD_DIR FAKEMODEM
# Installs the build into temporary prefixes and checks what a user and a
# packager get: the program's folder with its run-time files and tools, the
# links in bin/, the menu entry and icon, and the installed programs working
# when started through their links.
build=$1
fakemodem=$2
. "$(dirname "$0")/checks.sh"
same_file() { cmp -s "$1" "$2"; }
link_to() {  # link_to LINK RELATIVE_TARGET RESOLVED
  [ -L "$1" ] && [ "$(readlink "$1")" = "$2" ] && [ "$(readlink -f "$1")" = "$(readlink -f "$3")" ]
}

# A prefix with a blank in its name, as a user's folder may have.
prefix="$work/my apps"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; echo "FAILED: cmake --install" >&2; exit 1; }
app="$prefix/lib/quorvel"

# ---- The program's folder ---------------------------------------------------
for program in quorvel quorveldb dde-receiver; do
  check "$program installed and executable" test -x "$app/$program" -a -f "$app/$program"
  check "bin/$program links to the installed $program" \
    link_to "$prefix/bin/$program" "../lib/quorvel/$program" "$app/$program"
done
for file in Default.BMP html/manual.html html/de/manual.html translations/quorvel_de.qm; do
  check "$file beside the installed program, as in the build" same_file "$app/$file" "$build/bin/$file"
done
# Nothing of the tests or the simulator is installed.
expected=$'Default.BMP\ndde-receiver\nhtml\nhtml/de\nhtml/de/manual.html\nhtml/manual.html\nquorvel\nquorveldb\ntranslations\ntranslations/quorvel_de.qm'
actual=$(cd "$app" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
check "the program's folder holds exactly its files (got: $(echo $actual))" test "$actual" = "$expected"

# ---- Menu entry and icon --------------------------------------------------------
entry="$prefix/share/applications/quorvel.desktop"
check "menu entry installed" test -f "$entry"
# It starts the installed program by its quoted full path.
for line in "Exec=\"$prefix/bin/quorvel\"" Type=Application Name=Quorvel Icon=quorvel; do
  check "menu entry has the line $line" grep -qxF "$line" "$entry"
done
icon="$prefix/share/icons/hicolor/64x64/apps/quorvel.png"
check "icon installed in the icon theme" test -f "$icon"
check "icon is a 64 x 64 PNG" bash -c "file '$icon' | grep -q 'PNG image data, 64 x 64'"
if command -v desktop-file-validate >/dev/null; then
  check "menu entry is valid" desktop-file-validate "$entry"
fi

# ---- Installing again over it, and staged for a package ---------------------------
check "installing again over an installation" \
  cmake --install "$build" --prefix "$prefix" >/dev/null
check "links still resolve after installing again" test -x "$prefix/bin/quorvel"
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null 2>&1
check "staged install puts the program under DESTDIR" test -x "$work/stage/usr/lib/quorvel/quorvel"
check "staged link points inside the package" \
  test "$(readlink "$work/stage/usr/bin/quorvel")" = "../lib/quorvel/quorvel"
check "staged menu entry names the final path" \
  grep -qxF 'Exec=/usr/bin/quorvel' "$work/stage/usr/share/applications/quorvel.desktop"

# ---- The installed tools work through their links ---------------------------
db="$app/Callers.DB"
check "quorveldb through its link adds a caller" \
  "$prefix/bin/quorveldb" "$db" add "Alice Brown" 212-555-0101
check "quorveldb through its link reads it back" \
  test "$("$prefix/bin/quorveldb" "$db" get "Alice Brown")" = $'Alice Brown\t212-555-0101'

# ---- The installed program, started through its link, uses its own folder ---
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME/Varnock" && mkdir -m 700 "$XDG_RUNTIME_DIR"
modem="$work/ttyINSTALL0"
printf '[Settings]\nMode=0\nModem=%s\nExtraLines=%s\n' "$modem" "$modem" \
  >"$XDG_CONFIG_HOME/Varnock/Quorvel.ini"
start_modem "$fakemodem" "$modem"
start_program "$work" "$prefix/bin/quorvel"
stop_program "$XDG_CONFIG_HOME/Varnock/Quorvel.ini"
check "installed program left its caller database in place" \
  test "$("$prefix/bin/quorveldb" "$db" list)" = "Alice Brown"
check "nothing was written beside the links" \
  test "$(cd "$prefix/bin" && ls | LC_ALL=C sort | tr '\n' ' ')" = "dde-receiver quorvel quorveldb "

finish "install layout"
