#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: under the locale the machine
# gives, and under a comma-decimal locale (de_DE.UTF-8), where nothing may read or write a
# number differently.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
echo "== tests under the machine's locale (${LC_ALL:-${LANG:-C}})"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
echo "== tests under de_DE.UTF-8"
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
