#!/bin/sh
# installed_desktop_entries.sh BUILD_DIR
# Installs the build under a prefix holding a blank and characters an Exec= line must escape
# ('$', '`', '"', '%') and checks each program's desktop entry there: valid as the desktop
# entry format has it (desktop-file-validate, where installed), an icon of the program's name
# installed in the icon theme's folders, and an Exec= whose command, read as a launcher reads
# it, is the program installed under that prefix. A backslash, which no prefix cmake installs
# to can hold, is checked on the Exec= argument the install makes of a path holding one.
set -u
build="$1"
here=$(dirname "$0")
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT INT TERM
prefix="$top/Velinor 7000 \$HOME \`id\` \"x\" 100%"
fail() { echo "FAIL: $*"; exit 1; }
validate=$(command -v desktop-file-validate) || echo "desktop-file-validate not found: the entries are not validated"

# check_exec ENTRY PROGRAM: the entry validates and its Exec= starts PROGRAM alone.
check_exec() {
  if [ -n "$validate" ]; then
    "$validate" "$1" > "$top/validate.log" 2>&1 || { cat "$top/validate.log"; fail "$1 does not validate"; }
  fi
  exec_line=$(sed -n 's/^Exec=//p' "$1")
  starts=$(printf '%s\n' "$exec_line" | awk -f "$here/desktop_exec_args.awk") || fail "$1: Exec=$exec_line: $starts"
  [ "$starts" = "$2" ] || fail "$1: Exec=$exec_line starts '$starts', not '$2'"
}

odd="$top/a\\b \\\$x \"y\" \`z\`/bin/brodera"
cat > "$top/entry.cmake" <<'EOF'
include("${HERE}/VelinorDesktopExec.cmake")
velinor_desktop_exec_program(argument "${PROGRAM}")
file(WRITE "${ENTRY}" "[Desktop Entry]\nType=Application\nName=Brodera\nExec=${argument} %f\n")
EOF
cmake -DHERE="$here" -DPROGRAM="$odd" -DENTRY="$top/odd.desktop" -P "$top/entry.cmake" || fail "no entry made for $odd"
check_exec "$top/odd.desktop" "$odd"

cmake --install "$build" --prefix "$prefix" > "$top/install.log" 2>&1 || { cat "$top/install.log"; fail "cmake --install"; }
for program in brodera pictorel vantle; do
  entry="$prefix/share/applications/$program.desktop"
  [ -f "$entry" ] || fail "$program.desktop is not installed"
  grep -qx "Icon=$program" "$entry" || fail "$program.desktop names no icon $program"
  for icon in scalable/apps/$program.svg 48x48/apps/$program.png; do
    [ -s "$prefix/share/icons/hicolor/$icon" ] || fail "$icon is not installed"
  done
  check_exec "$entry" "$prefix/bin/$program"
  [ -x "$prefix/bin/$program" ] || fail "$prefix/bin/$program is not installed"
  echo "$program: Exec and Icon point into $prefix"
done
echo "OK: the three desktop entries start the installed programs and carry their icons"
