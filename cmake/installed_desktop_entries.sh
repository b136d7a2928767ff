#!/bin/sh
# installed_desktop_entries.sh BUILD_DIR
# Installs the build under a prefix with a space in it and checks each program's desktop
# entry there: an icon of the program's name installed in the icon theme's folders, and an
# Exec= whose program is the one installed under that prefix.
set -u
build="$1"
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT INT TERM
prefix="$top/Velinor 7000"
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$top/install.log" 2>&1 || { cat "$top/install.log"; fail "cmake --install"; }
for program in brodera pictorel vantle; do
  entry="$prefix/share/applications/$program.desktop"
  [ -f "$entry" ] || fail "$program.desktop is not installed"
  grep -qx "Icon=$program" "$entry" || fail "$program.desktop names no icon $program"
  for icon in scalable/apps/$program.svg 48x48/apps/$program.png; do
    [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "$icon is not installed"
  done
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  expected="\"$prefix/bin/$program\" %f"
  [ "$exec_line" = "$expected" ] || fail "$program.desktop: Exec=$exec_line, not Exec=$expected"
  [ -x "$prefix/bin/$program" ] || fail "$prefix/bin/$program is not installed"
  echo "$program: Exec and Icon point into $prefix"
done
echo "OK: the three desktop entries start the installed programs and carry their icons"
