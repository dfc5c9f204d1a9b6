#!/bin/sh
# Peak memory of a batch run: 300,000 rows through the tool at --jobs 1, 2
# and 64, each measured by GNU time (maximum resident set size).
# Usage: bench/batch_memory.sh [path/to/velmora-arudha-lagna-cli] [rows]
set -eu
tool=${1:-build/bin/velmora-arudha-lagna-cli}
rows=${2:-300000}
csv=$(mktemp --suffix=.csv)
trap 'rm -f "$csv"' EXIT
awk -v rows="$rows" 'BEGIN {
    print "name,date,time,zone,dst,lat,lon,city,state,country"
    srand(19);
    for (i = 0; i < rows; i++)
        printf "ROW,%d-%02d-%02d,%02d:%02d,34,0,%02d:%02dN,%03d:%02dE,Delhi,DL,India\n",
            1901 + int(rand() * 150), 1 + int(rand() * 12), 1 + int(rand() * 28), int(rand() * 24),
            int(rand() * 60), int(rand() * 60), int(rand() * 60), int(rand() * 180), int(rand() * 60)
}' > "$csv"
for jobs in 1 2 64; do
    /usr/bin/time -f "--jobs $jobs: peak %M KiB, %e s" "$tool" --batch "$csv" --jobs "$jobs" > /dev/null 2> "$csv.err" || true
    tail -n 1 "$csv.err"
done
rm -f "$csv.err"
