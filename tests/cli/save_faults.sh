#!/bin/bash
# The saves of the real vorelbox-cli with failing system calls (a preloaded shim
# makes them fail): each failure keeps the old file whole, leaves no temporary
# file, is reported, and ends with a non-zero exit code.
#   save_faults.sh VORELBOX-CLI FAULT-SHIM.so REAL-DATA-FOLDER
set -u
cli=$1
shim=$2
real=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/out"
failed=0

fail() {
    echo "FAILED: $*"
    failed=1
}

# A native spectrum file to take spectra from, and a long old file to save over.
cp "$real/Cs137SMALL.Chn" "$work/src/cs.chn"
"$cli" convert "$work/src/cs.chn" >/dev/null || fail "setting up: convert"
source_dat=$work/src/cs.dat
for i in $(seq 1 12000); do echo "old line $i"; done >"$work/old.dat"
printf 'VORELBOX SPECTRUM LIST 0, channels\nfirst|1|%s\n' "$source_dat" >"$work/src/list.vsl"
printf '1\n2\n3\n' >"$work/src/column.txt"

# run NAME FAULT=VALUE TARGET EXPECTED-OUTPUT-TEXT -- COMMAND...
run() {
    local name=$1 fault=$2 target=$3 expected=$4
    shift 5
    cp "$work/old.dat" "$target"
    local before output status
    before=$(ls -A "$work/out")
    output=$(env LD_PRELOAD="$shim" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        VORELBOX_FAULT_DIR="$work/out" "$fault" "$@" 2>&1)
    status=$?
    [ "$status" -ne 0 ] || fail "$name: exit code 0"
    cmp -s "$work/old.dat" "$target" || fail "$name: the old file changed"
    local after
    after=$(ls -A "$work/out")
    [ "$after" = "$before" ] || fail "$name: the folder holds: $after"
    case "$output" in
        *"$expected"*) ;;
        *) fail "$name: no \"$expected\" in: $output" ;;
    esac
}

out=$work/out/target.dat
run "append, one write failing" VORELBOX_FAULT_WRITE=2 "$out" '"appended":false' -- \
    "$cli" extract "$source_dat" --append --force -o "$out"
run "append, disk full" VORELBOX_FAULT_SPACE=50000 "$out" 'No space left on device' -- \
    "$cli" extract "$source_dat" --append --force -o "$out"
run "append, flush failing" VORELBOX_FAULT_FSYNC=1 "$out" 'could not be flushed' -- \
    "$cli" extract "$source_dat" --append --force -o "$out"
run "extract, first write failing" VORELBOX_FAULT_WRITE=1 "$out" 'Error creating the new spectrum file' -- \
    "$cli" extract "$source_dat" -o "$out"
run "extract, close failing" VORELBOX_FAULT_CLOSE=1 "$out" 'Closing the new content failed' -- \
    "$cli" extract "$source_dat" -o "$out"
run "extract, rename failing" VORELBOX_FAULT_RENAME=1 "$out" "take the old file's place" -- \
    "$cli" extract "$source_dat" -o "$out"
run "sum, one write failing" VORELBOX_FAULT_WRITE=1 "$out" 'Unable to write spectrum file' -- \
    "$cli" sum "$work/src/list.vsl" --mode both -o "$out"
run "column, rename failing" VORELBOX_FAULT_RENAME=1 "$out" "Can't write the file" -- \
    "$cli" column "$work/src/column.txt" -o "$out"
cp "$work/src/cs.chn" "$work/out/cs.chn"
rm "$work/out/target.dat"
run "native copy, flush failing" VORELBOX_FAULT_FSYNC=1 "$work/out/cs.dat" 'Unable to write spectrum file' -- \
    "$cli" convert --force "$work/out/cs.chn"
rm "$work/out/cs.chn" "$work/out/cs.dat"

# Without a fault the shim changes nothing: the append is done.
cp "$work/old.dat" "$out"
env LD_PRELOAD="$shim" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" VORELBOX_FAULT_DIR="$work/out" \
    "$cli" extract "$source_dat" --append --force -o "$out" | grep -q '"appended":true' || fail "append without a fault"
[ "$(head -c "$(stat -c %s "$work/old.dat")" "$out" | cmp - "$work/old.dat" && echo same)" = same ] ||
    fail "append without a fault: the old content changed"

[ "$failed" -eq 0 ] && echo "all save faults reported, old files kept"
exit "$failed"
