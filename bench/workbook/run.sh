#!/usr/bin/env bash
# The workbook loading benchmark: generates a BIFF8 workbook of 65,000 rows x
# 20 columns (gen_workbook.js: SheetJS writes it directly, and as .xlsx that
# LibreOffice turns into an "MS Excel 97" workbook with a shared string
# table), then loads each file and takes the text of every cell with
# sheetpull's reader and with the independent readers: catdoc's xls2csv,
# xlrd and FreeXL. Prints the best of RUNS times, the peak memory of each
# and sheetpull's ratios. The generated files stay in the work folder.
# Usage: bench/workbook/run.sh BUILD_DIR [WORK_DIR] [RUNS]
#   BUILD_DIR  a release build holding bench/workbook/workbook_bench
#   WORK_DIR   default /work/main/fuzz-work/bench (never committed)
# Needs the tools of tools/packages/workbook.dev and the npm package xlsx
# (NODE_PATH, default /work/scratch-workbook/node_modules).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
work=${2:-/work/main/fuzz-work/bench}
runs=${3:-5}
export NODE_PATH=${NODE_PATH:-/work/scratch-workbook/node_modules}
mkdir -p "$work"
cd "$work"

if [ ! -s sheetjs.xls ] || [ ! -s bench.xlsx ]; then
  node --max-old-space-size=8000 "$here/gen_workbook.js" sheetjs.xls bench.xlsx
fi
if [ ! -s bench.xls ]; then
  soffice --headless --convert-to 'xls:MS Excel 97' bench.xlsx >/dev/null 2>&1
fi
cc -O2 -o freexl_peer "$here/freexl_peer.c" -lfreexl

# measure COMMAND...: prints the smallest elapsed time (s) and the largest peak RSS (KB)
# of RUNS runs of the command.
measure() {
  local best=999999 peak=0 t m figures
  figures=$(mktemp)
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %M" -o "$figures" "$@" >/dev/null 2>&1
    read -r t m <"$figures"
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
    peak=$(( m > peak ? m : peak ))
  done
  rm -f "$figures"
  echo "$best $peak"
}

for file in bench.xls sheetjs.xls; do
  size=$(stat -c %s "$file")
  echo "== $file: $(awk -v s="$size" 'BEGIN {printf "%.1f MB", s / 1048576}')"
  "$build/bench/workbook/workbook_bench" "$file" "$runs"
  read -r ours ours_mem < <(measure "$build/bench/workbook/workbook_bench" "$file" 1)
  fastest=999999
  for peer in "xls2csv:xls2csv $file" "xlrd:/usr/bin/python3 $here/xlrd_peer.py $file" "freexl:./freexl_peer $file"; do
    read -r t m < <(measure ${peer#*:})
    printf '  %-10s %6.2f s  peak %6.1f MB\n' "${peer%%:*}" "$t" "$(echo "$m" | awk '{print $1 / 1024}')"
    fastest=$(echo "$t $fastest" | awk '{print ($1 < $2) ? $1 : $2}')
  done
  printf '  %-10s %6.2f s  peak %6.1f MB  (whole process)\n' sheetpull "$ours" "$(echo "$ours_mem" | awk '{print $1 / 1024}')"
  awk -v f="$fastest" -v o="$ours" -v m="$ours_mem" -v s="$size" \
    'BEGIN {printf "  sheetpull is %.1fx faster than the fastest peer; peak memory %.2fx the file size\n", f / o, m * 1024 / s}'
done
