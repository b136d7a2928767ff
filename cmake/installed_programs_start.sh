#!/bin/sh
# installed_programs_start.sh BUILD_DIR
# Installs the build into a temporary prefix and starts every program installed there on the
# offscreen platform with VELINOR_QUIT_AFTER_START set, by the command its desktop entry's
# Exec= gives (so with its splash): each must start from the install folder alone (libraries
# found beside it through its run path, not in the build tree) and end by itself, whatever
# its start shows.
set -u
build="$1"
here=$(dirname "$0")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT INT TERM
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$prefix/install.log" 2>&1 || { cat "$prefix/install.log"; fail "cmake --install"; }
bin="$prefix/bin"
for file in libvelinor_platform.so libseamlib.so libportline.so liblinkpanel.so libcablink.so "Velinor Sans.mnf"; do
  [ -f "$bin/$file" ] || fail "$file is not installed beside the programs"
done
for entry in applications/brodera.desktop mime/packages/brodera-bdz.xml \
             applications/pictorel.desktop mime/packages/pictorel-qnf.xml \
             applications/vantle.desktop mime/packages/vantle-arg.xml; do
  [ -f "$prefix/share/$entry" ] || fail "$entry is not installed"
done

started=0
for program in brodera pictorel vantle; do
  [ -x "$bin/$program" ] || continue
  runpath=$(readelf -d "$bin/$program" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
  [ "$runpath" = '$ORIGIN' ] || fail "$program's run path is '$runpath', not \$ORIGIN"
  # The command line the desktop entry starts, one argument a line.
  exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$program.desktop")
  command_line=$(printf '%s\n' "$exec_line" | awk -f "$here/desktop_exec_args.awk") ||
    fail "$program.desktop: Exec=$exec_line: $command_line"
  set --
  while IFS= read -r argument; do set -- "$@" "$argument"; done <<EOF
$command_line
EOF
  [ "$1" = "$bin/$program" ] || fail "$program.desktop starts '$1', not $bin/$program"
  mkdir -p "$prefix/home"
  env -u LD_LIBRARY_PATH HOME="$prefix/home" XDG_CONFIG_HOME="$prefix/home/config" \
      XDG_DATA_HOME="$prefix/home/data" QT_QPA_PLATFORM=offscreen VELINOR_QUIT_AFTER_START=1 \
      ASAN_OPTIONS=detect_leaks=0 timeout 10 "$@" > "$prefix/$program.log" 2>&1
  rc=$?
  # A program still running when the time ran out (124) did not end by itself: something at
  # its start waits for an answer nobody gives.
  if [ "$rc" -ne 0 ]; then
    cat "$prefix/$program.log"
    [ "$rc" -eq 124 ] && fail "$program did not end by itself within 10 s"
    fail "$program ended with $rc"
  fi
  echo "$program started from $bin as its desktop entry starts it ($*) and ended by itself"
  started=$((started + 1))
done
[ "$started" -eq 3 ] || fail "only $started of the three programs are installed"
echo "OK: $started program(s) started"
