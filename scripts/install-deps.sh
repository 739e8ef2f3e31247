#!/usr/bin/env bash
# Installs the Debian packages that building and testing tirmo needs, when any is missing, and
# generates the comma-decimal locale the tests run under as well (de_DE.UTF-8). The layout tests
# measure captions in real type: fonts-dejavu-core gives the desktop's fonts a face. Packages
# named as arguments are installed as well (.ci/run adds more fonts this way).
set -euo pipefail
packages=(build-essential cmake qt6-base-dev libgl-dev googletest libgtest-dev libgmock-dev libbenchmark-dev locales xdg-utils fonts-dejavu-core "$@")
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update
  $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

# locale-gen builds every locale listed in /etc/locale.gen, so the line is uncommented there
# (or added) rather than the locale being built on the side, where the next locale-gen would
# drop it again.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  if grep -qE '^[# ]*de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $sudo_cmd sed -i -E 's/^[# ]*(de_DE\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  else
    echo 'de_DE.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  fi
  $sudo_cmd locale-gen
fi
