#!/usr/bin/env bash
# Reads the sample supplier workbook as the import sees it: every sheet and
# every cell text, with the German number and date formats.
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
"$bin/tools/xlsdump" "$here/samples/Angebot.xls"
