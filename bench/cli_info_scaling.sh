#!/bin/bash
# How `vorelbox-cli info` scales with the size of a native file: 1, 10 and 100
# spectra of 8192 channels and 100 of 16,384, written (10i8) with random counts.
# Each file is read RUNS times in a process of its own; the median CPU time
# (user + system) and the largest peak memory are shown beside the bytes held
# as counts (8 per channel). The time should grow with the file's size.
#
#   bench/cli_info_scaling.sh [build/bin/vorelbox-cli]
set -euo pipefail

cli=${1:-build/bin/vorelbox-cli}
runs=${RUNS:-9}
work=$(mktemp -d "${TMPDIR:-/tmp}/vorelbox_scaling.XXXXXX")
trap 'rm -rf "$work"' EXIT

write_file() {  # spectra channels file
    awk -v spectra="$1" -v channels="$2" 'BEGIN {
        srand(5)
        for (k = 1; k <= spectra; k++) {
            printf "Spectrum %d of the scaling file\n", k
            for (i = 0; i < channels; i++) {
                printf "%8d", int(rand() * 10000000)
                if (i % 10 == 9 || i == channels - 1) printf "\n"
            }
        }
    }' > "$3"
}

# CPU seconds of one run, and its peak memory in kB when GNU time is there.
measure() {
    local TIMEFORMAT='%U %S'
    local cpu
    cpu=$({ time "$cli" info "$1" > /dev/null 2>&1; } 2>&1)
    local peak=-
    if [ -x /usr/bin/time ]; then
        peak=$(/usr/bin/time -f '%M' "$cli" info "$1" 2>&1 > /dev/null | tail -1)
    fi
    awk -v u="${cpu% *}" -v s="${cpu#* }" -v p="$peak" 'BEGIN { printf "%.4f %s\n", u + s, p }'
}

printf '%-10s %12s %12s %14s %12s\n' file bytes "cpu ms" "peak memory kB" "counts kB"
for shape in 1x8192 10x8192 100x8192 100x16384; do
    spectra=${shape%x*}
    channels=${shape#*x}
    file="$work/scaling_$shape.dat"
    write_file "$spectra" "$channels" "$file"
    results=$(for ((r = 0; r < runs; r++)); do measure "$file"; done)
    cpu=$(echo "$results" | awk '{ print $1 }' | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] * 1000 }')
    peak=$(echo "$results" | awk '{ print $2 }' | sort -n | tail -1)
    printf '%-10s %12d %12s %14s %12d\n' "$shape" "$(stat -c %s "$file")" "$cpu" "$peak" $((spectra * channels * 8 / 1024))
done
