#!/usr/bin/env bash
# Registers the module in a scratch install folder, as the host's installer
# would, and shows the two module INI files plugreg wrote.
set -euo pipefail
bin=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$bin/src/installer/plugreg" "$folder/"
"$folder/plugreg" INSTALL
for ini in "$folder"/*.INI; do
  echo "--- $(basename "$ini")"
  tr -d '\r' < "$ini"
done
