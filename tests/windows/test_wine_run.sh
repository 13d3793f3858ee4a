#!/bin/sh
# cmake/wine-run.sh makes the folder of the Wine prefix, and starts a program
# again only when Wine ended it at once without a word; a program's own
# failure, with its output, comes back as it was.
# A stand-in for wine64 fails silently a set number of times before it runs.
set -u
wrapper="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat > "$dir/wine" <<'FAKE'
#!/bin/sh
n=$(cat "$COUNTER" 2>/dev/null || echo 0); n=$((n + 1)); echo "$n" > "$COUNTER"
[ "$n" -le "$SILENT_FAILURES" ] && exit 5
[ "${ONLY_STDERR:-}" ] || echo "out $*"
echo "err $*" >&2; exit "$STATUS"
FAKE
chmod +x "$dir/wine"
export VORELBOX_WINE="$dir/wine" VORELBOX_WINESERVER=true VORELBOX_WINE_RETRY_PAUSE=0 TMPDIR="$dir" COUNTER="$dir/count" \
       VORELBOX_WINEPREFIX="$dir/no-cache-yet/prefix"
failed=0
# run NAME SILENT_FAILURES STATUS EXPECTED_STATUS EXPECTED_RUNS EXPECTED_OUT
run() {
    rm -f "$COUNTER"
    SILENT_FAILURES=$2 STATUS=$3 sh "$wrapper" prog "x y" > "$dir/out" 2> "$dir/err"
    status=$?
    runs=$(cat "$COUNTER")
    if [ "$status" -ne "$4" ] || [ "$runs" -ne "$5" ] || [ "$(cat "$dir/out")" != "$6" ]; then
        echo "FAILED $1: status $status (want $4), runs $runs (want $5), stdout '$(cat "$dir/out")'"
        cat "$dir/err"
        failed=1
    fi
}
run "a clean run runs once" 0 0 0 1 "out prog x y"
run "a program's own failure is not repeated" 0 4 4 1 "out prog x y"
export ONLY_STDERR=1
run "a failure told on stderr alone is not repeated" 0 4 4 1 ""
unset ONLY_STDERR
run "one silent failure is run again" 1 0 0 2 "out prog x y"
run "two silent failures are run again" 2 0 0 3 "out prog x y"
run "three silent failures are the result" 3 0 5 3 ""
# Retries are reported on stderr before the program's own error output.
rm -f "$COUNTER"
SILENT_FAILURES=1 STATUS=0 sh "$wrapper" prog > /dev/null 2> "$dir/err"
if ! head -n 1 "$dir/err" | grep -q "prog ended with status 5 and printed nothing" ||
   [ "$(tail -n 1 "$dir/err")" != "err prog" ]; then
    echo "FAILED the retry is not reported on stderr:"; cat "$dir/err"; failed=1
fi
# The prefix's folder is made when it is missing, for Wine to make the prefix in.
if [ ! -d "$dir/no-cache-yet" ] || [ -e "$dir/no-cache-yet/prefix" ]; then
    echo "FAILED the folder of the Wine prefix was not made (or the prefix itself was)"; failed=1
fi
# No temporary is left behind.
if ls "$dir" | grep -q wine-run; then
    echo "FAILED a temporary was left: $(ls "$dir")"; failed=1
fi
exit "$failed"
