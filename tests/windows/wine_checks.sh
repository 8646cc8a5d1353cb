#!/usr/bin/env bash
# wine_checks.sh WINDIR OUT
# Runs wincheck.exe (the Windows implementations: per-user known folder,
# wide-character file names, CreateProcess, Winsock) under Wine, then looks
# from the Linux side at the file it left: its name must be the UTF-8 name
# the game gave it.
set -u
WINDIR=$1 OUT=$2
. "$(dirname "$0")/common.sh"
EXE=$WINDIR/wincheck.exe
[ -f "$EXE" ] || { echo "the Windows build made no $EXE"; exit 1; }
rm -rf "$OUT" && mkdir -p "$OUT"
"$WINE" "$EXE" "$OUT" "ärg 犬"
status=$?
[ $status -eq 0 ] || { echo "wincheck.exe: exit status $status"; exit 1; }
kept="$OUT/Ördner/ünter/犬-kept.txt"
[ "$(cat "$kept" 2>/dev/null)" = "kept" ] || { echo "no $kept with its bytes on disk:"; find "$OUT"; exit 1; }
echo "the file written under Wine has its UTF-8 name on disk"
