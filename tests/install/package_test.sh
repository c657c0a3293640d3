#!/usr/bin/env bash
# package_test.sh BUILD_DIR FAKEMODEM
# Builds the Debian package from the build, unpacks it into a scratch root
# (dpkg -x) and runs what it installed from there as a user who may not
# write to the program's folder, as after `apt install`: the program starts,
# watches its line and keeps its caller database in the user's data folder,
# where quorveldb finds the same file by its bare name.
build=$1
fakemodem=$2
. "$(dirname "$0")/checks.sh"

chmod 755 "$work"  # the user the programs run as reaches into it

# ---- The package ----------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; echo "FAILED: cpack -G DEB" >&2; exit 1; }
debs=("$work"/pkg/quorvel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAILED: one package built" >&2; exit 1; }
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6sql6-sqlite; do
  check "the package depends on $lib (got: $depends)" grep -qE "(^|, )$lib( |,|$)" <<<"$depends"
done
check "the package is named quorvel" test "$(dpkg-deb -f "$deb" Package)" = quorvel

root="$work/root"
dpkg -x "$deb" "$root" || { echo "FAILED: dpkg -x" >&2; exit 1; }
app="$root/usr/lib/quorvel"
for program in quorvel quorveldb dde-receiver; do
  check "$program in the program's folder" test -x "$app/$program"
  check "/usr/bin/$program links to it" test "$(readlink "$root/usr/bin/$program")" = "../lib/quorvel/$program"
done
for file in Default.BMP html/manual.html html/de/manual.html translations/quorvel_de.qm; do
  check "$file in the program's folder" test -f "$app/$file"
done
check "menu entry starts /usr/bin/quorvel" \
  grep -qxF 'Exec=/usr/bin/quorvel' "$root/usr/share/applications/quorvel.desktop"
check "icon in the icon theme" test -f "$root/usr/share/icons/hicolor/64x64/apps/quorvel.png"
check "nothing outside /usr" test "$(ls "$root")" = usr
# An administrator's caller list beside the program: each user starts with it.
"$root/usr/bin/quorveldb" "$app/Callers.DB" add "Bob Admin" 555-0100 ||
  echo "FAILED: the administrator's list" >&2
touch "$work/unpacked"

# ---- Run from there by a user who cannot write to it ---------------------------
# Root writes anywhere, so the programs run as "nobody" when the test is root.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || { echo "FAILED: setpriv is needed to run as a user" >&2; exit 1; }
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
user_owns() { [ ${#as_user[@]} -eq 0 ] || chown -R 65534:65534 "$@"; }
home="$work/home"
mkdir -p "$home/config/Varnock" "$home/run" "$home/cwd" "$work/bin"
chmod 700 "$home/run"
cp "$fakemodem" "$work/bin/fakemodem"
modem="$home/ttyPKG0"
printf '[Settings]\nMode=0\nExtraLines=%s\n' "$modem" \
  >"$home/config/Varnock/Quorvel.ini"
user_owns "$home"
check "the program's folder is not writable for the user" \
  bash -c '! "$@"' _ "${as_user[@]}" test -w "$app"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config"
  XDG_DATA_HOME="$home/share" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen)
# A sanitizer build keeps the options the test run gives it.
for name in ASAN_OPTIONS UBSAN_OPTIONS; do
  [ -n "${!name:-}" ] && user_env+=("$name=${!name}")
done
run() { "${user_env[@]}" "${as_user[@]}" "$@"; }
data="$home/share/Varnock/Quorvel"

start_modem "$work/bin/fakemodem" "$modem" "${user_env[@]}" "${as_user[@]}"
start_program "$home/cwd" "${user_env[@]}" "${as_user[@]}" "$root/usr/bin/quorvel"
check "the data folder was made, for the user alone" \
  test "$(stat -c %a "$data" 2>/dev/null)" = 700
check "the caller database is in the data folder" test -f "$data/Callers.DB"
[ ${#as_user[@]} -eq 0 ] ||
  check "the program ran as the user" test "$(stat -c %u "$data/Callers.DB" 2>/dev/null)" = 65534

(cd "$home/cwd" && run "$root/usr/bin/quorveldb" Callers.DB add "Alice Brown" 212-555-0101)
check "quorveldb with a bare Callers.DB adds to the program's database" \
  grep -qF "Alice Brown" "$data/Callers.DB"
check "the user's database started with the administrator's list" \
  test "$(cd "$home/cwd" && run "$root/usr/bin/quorveldb" Callers.DB list)" = $'Alice Brown\nBob Admin'
check "quorveldb reads the program's database back" \
  test "$(cd "$home/cwd" && run "$root/usr/bin/quorveldb" Callers.DB get "Alice Brown")" = \
  $'Alice Brown\t212-555-0101'
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carol Import\r\nTEL:212-555-0177\r\nEND:VCARD\r\n' \
  >"$home/carol.vcf"
(cd "$home/cwd" && run "$root/usr/bin/quorveldb" Callers.DB import ../carol.vcf) 2>"$work/import.log"
check "quorveldb imports contacts into the program's database" \
  grep -qF "[Carol Import]" "$data/Callers.DB"
grep -qF "[Carol Import]" "$data/Callers.DB" || cat "$work/import.log" >&2
check "nothing written to the current folder" test -z "$(ls -A "$home/cwd")"

stop_program "$home/config/Varnock/Quorvel.ini"
check "nothing was written under /usr" \
  test -z "$(find "$root" -newer "$work/unpacked" ! -type d -print -quit)"

finish "package"
