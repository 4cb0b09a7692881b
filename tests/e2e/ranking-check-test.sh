#!/usr/bin/env bash
# The helper of the Windows check on Linux: what it writes is the ranking
# file of a win (CP932, CR LF), what it shows is the ranking window's table,
# its palette is the game's, and it reads the version information as the
# About window does. Usage: ranking-check-test.sh HELPER HORONPA
set -euo pipefail
helper=$1
game=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() {
  echo "ranking-check-test: $*" >&2
  exit 1
}
export QT_QPA_PLATFORM=offscreen

[ "$("$helper" palette | wc -l)" = 20 ] || fail "the palette has not 20 colours"
[ "$("$helper" palette | sed -n '1,2p' | tr '\n' ' ')" = "00FFFF 000000 " ] ||
  fail "the palette does not start with aqua, black"

ini=$dir/horonpa.ini
[ "$("$helper" win "$ini" 3 900 40 3 表示ソフト)" = 1 ] || fail "a first win is not rank 1"
[ "$("$helper" win "$ini" 3 2000 90 3 '能力 テスト')" = 2 ] || fail "a lower score is not rank 2"
# A score of 0 still passes the defaults, which score 0 as well.
[ "$("$helper" win "$ini" 3 99999 99999 3 遅い人)" = 3 ] || fail "a score of 0 is not rank 3"
expected=$(printf '%s\n' $'順位\t名前\tスコア\t時間(秒)\tクリック回数\t色数' \
  $'1\t表示ソフト\t2\t900\t40\t3' $'2\t能力 テスト\t1\t2000\t90\t3' \
  $'3\t遅い人\t0\t99999\t99999\t3' $'4\tNoName\t0\t99999\t99999\t20')
[ "$("$helper" view "$ini" 3 | head -n 5)" = "$expected" ] ||
  fail "the ranking window shows: $("$helper" view "$ini" 3 | head -n 5)"
[ "$("$helper" view "$ini" 3 | wc -l)" = 11 ] || fail "the table has not 11 rows"
# Another size in the same file is untouched.
[ "$("$helper" view "$ini" 4 | sed -n 2p)" = $'1\tNoName\t0\t99999\t99999\t20' ] ||
  fail "size 4 is not the default table"

# CP932 with CR LF: the 0x5C trail bytes of 表 and ソ stay as they are.
LC_ALL=C grep -qF $'\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67' "$ini" || fail "表示ソフト is not in CP932"
[ "$(LC_ALL=C grep -c $'\r$' "$ini")" = "$(wc -l <"$ini")" ] || fail "not every line ends with CR LF"

[ "$("$helper" version "$game")" = $'ホロンパ\t1.0.0' ] || fail "the game's version reads '$("$helper" version "$game")'"
# The helper itself carries no version information: both texts empty.
[ "$("$helper" version "$helper")" = $'\t' ] || fail "a file without version information gave text"

status=0
"$helper" view "$ini" >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "a missing argument gave status $status, not 2"
echo "ranking-check-test: passed"
