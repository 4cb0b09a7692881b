#!/usr/bin/env bash
# horonpa-solver.exe under Wine prints what horonpa-solver prints for the same
# arguments and input: the same lines (line ends aside: Windows ends them with
# CR LF), the same one-line errors, the same exit status.
#
#   compare-solver.sh LINUX_TOOL WINE_RUN WINDOWS_TOOL
set -uo pipefail
linux=$1 wine_run=$2 windows=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0 cases=0

# expect STATUS INPUT ARG...: both tools given INPUT on standard input.
expect() {
  local status=$1 input=$2
  shift 2
  cases=$((cases + 1))
  printf '%b' "$input" >"$work/in"
  "$linux" "$@" <"$work/in" >"$work/linux.out" 2>"$work/linux.err"
  local linux_status=$?
  "$wine_run" "$windows" "$@" <"$work/in" >"$work/windows.out" 2>"$work/windows.err"
  local windows_status=$?
  for f in out err; do tr -d '\r' <"$work/windows.$f" >"$work/windows.$f.lf"; done
  local why=""
  [ "$linux_status" = "$status" ] || why+=" linux exit $linux_status, not $status;"
  [ "$windows_status" = "$status" ] || why+=" windows exit $windows_status, not $status;"
  cmp -s "$work/linux.out" "$work/windows.out.lf" || why+=" standard output differs;"
  cmp -s "$work/linux.err" "$work/windows.err.lf" || why+=" standard error differs;"
  if [ "$status" = 0 ]; then
    [ -s "$work/linux.out" ] || why+=" no output;"
  else
    [ "$(wc -l <"$work/linux.err")" = 1 ] || why+=" not one line on standard error;"
  fi
  if [ -n "$why" ]; then
    echo "horonpa-solver $*:$why"
    diff "$work/linux.out" "$work/windows.out.lf" | head -n 20
    diff "$work/linux.err" "$work/windows.err.lf" | head -n 5
    failed=1
  fi
}

expect 0 '' stats --size 5 --colors 7
expect 0 '' stats --size 20 --colors 20
expect 0 '' stats --size 19 --colors 16
expect 0 '' deal --seed 1 --size 5 --colors 7
expect 0 '' deal --seed 4294967295 --size 20 --colors 16
expect 0 '' deal --seed 17 --size 10 --colors 9
expect 0 '1 0 0\n0 0 0\n0 0 0\n' solve --colors 2
expect 0 '0 1 2 3\n3 2 1 0\n1 1 1 1\n0 0 0 2\n' solve --colors 4
expect 0 '1 0 0\n0 0 0\n0 0 0\n' solve --colors 3
# A board of the largest size: the seed's dealt board, solved.
board=$("$linux" deal --seed 99 --size 20 --colors 6 | sed -n '/^dealt$/,$p' | tail -n +2)
expect 0 "$board\n" solve --colors 6
# Bad input: one line on standard error, exit status 2.
expect 2 '' deal --seed 1 --size 2 --colors 7
expect 2 '' deal --seed 4294967296 --size 5 --colors 7
expect 2 '' stats --size 5 --colors 21
expect 2 '' stats --size 5
expect 2 '' stats --size five --colors 3
expect 2 '' frobnicate
expect 2 '' 
expect 2 '1 0\n0 0 0\n' solve --colors 2
expect 2 '1 0 9\n0 0 0\n0 0 0\n' solve --colors 2
expect 2 '1 x 0\n0 0 0\n0 0 0\n' solve --colors 2
expect 2 '1 0 0\n0 0 0\n' solve --colors 2

echo "compare-solver: $cases cases"
exit $failed
