#!/usr/bin/env bash
# levelrun_wine.sh LEVELRUN WINDIR GAMEDIR OUT
# levelrun.exe of the Windows build, run under Wine, must print exactly the
# bytes the Linux levelrun prints, with the same exit status, for a few
# levels of each match mode on several seeds, relaxed and timed.
set -u
LEVELRUN=$1 WINDIR=$2 GAMEDIR=$3 OUT=$4
. "$(dirname "$0")/common.sh"
EXE=$WINDIR/levelrun.exe
[ -f "$EXE" ] || { echo "the Windows build made no $EXE"; exit 1; }
rm -rf "$OUT" && mkdir -p "$OUT"
FIX=$(cd "$(dirname "$0")/../fixtures/match3" && pwd)
cases=(
  "$GAMEDIR/data/levels/level01.lvl --seed 1"
  "$GAMEDIR/data/levels/level01.lvl --seed 7 --timed"
  "$GAMEDIR/data/levels/level02.lvl --seed 3"
  "$GAMEDIR/data/levels/level03.lvl --seed 2 --timed"
  "$GAMEDIR/data/levels/level05.lvl --seed 11"
  "$GAMEDIR/data/levels/level06.lvl --seed 5"
  "$FIX/swap_puzzle.lvl --seed 9"
)
pass=0 fail=0 i=0
for c in "${cases[@]}"; do
  i=$((i + 1))
  # shellcheck disable=SC2086
  "$LEVELRUN" $c --data "$GAMEDIR" >"$OUT/linux$i.txt" 2>/dev/null
  ls=$?
  # shellcheck disable=SC2086
  "$WINE" "$EXE" $c --data "$GAMEDIR" >"$OUT/windows$i.txt" 2>"$OUT/windows$i.err"
  ws=$?
  if [ ! -s "$OUT/linux$i.txt" ]; then
    echo "FAILED: $c: the Linux levelrun printed nothing"; fail=$((fail + 1))
  elif cmp -s "$OUT/linux$i.txt" "$OUT/windows$i.txt" && [ $ls -eq $ws ]; then
    echo "same: $c (status $ls): $(cat "$OUT/linux$i.txt")"; pass=$((pass + 1))
  else
    echo "FAILED: $c"
    echo "  linux   (status $ls): $(od -c "$OUT/linux$i.txt" | head -3)"
    echo "  windows (status $ws): $(od -c "$OUT/windows$i.txt" | head -3)"
    head -5 "$OUT/windows$i.err"
    fail=$((fail + 1))
  fi
done
# A missing level: the same refusal and status (the message names the path,
# which Windows writes its own way).
"$LEVELRUN" "$OUT/missing.lvl" --data "$GAMEDIR" >"$OUT/linux-missing.txt" 2>/dev/null
ls=$?
"$WINE" "$EXE" "$OUT/missing.lvl" --data "$GAMEDIR" >"$OUT/windows-missing.txt" 2>/dev/null
ws=$?
if [ $ls -eq 1 ] && [ $ws -eq 1 ] && grep -q '"outcome":"error"' "$OUT/linux-missing.txt" &&
   cmp -s <(grep '"outcome"' "$OUT/linux-missing.txt") <(grep '"outcome"' "$OUT/windows-missing.txt"); then
  echo "same: a missing level is refused with status 1 on both"; pass=$((pass + 1))
else
  echo "FAILED: a missing level: Linux status $ls, Windows status $ws"; fail=$((fail + 1))
fi
echo "$pass passed, $fail failed"
[ $fail -eq 0 ]
