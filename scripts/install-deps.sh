#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build, test and run Tavo. Idempotent and quiet
# when nothing is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5svg5-dev
    qttools5-dev qttools5-dev-tools
    libqrencode-dev libudev-dev
    fonts-wqy-microhei qttranslations5-l10n
    xvfb xauth
    python3 python3-serial
    desktop-file-utils appstream shared-mime-info xdg-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
