#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build, test and run Tavo. Idempotent and quiet
# when nothing is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    # Qt 6, the toolkit the program is built with (Core5Compat for the module's GBK codec)
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
    qt6-l10n-tools qt6-5compat-dev qt6-translations-l10n
    # Qt 5.15, still built and tested
    qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5svg5-dev
    qttools5-dev qttools5-dev-tools
    libqrencode-dev libudev-dev
    fonts-wqy-microhei qttranslations5-l10n
    xvfb xauth
    python3 python3-serial
    desktop-file-utils appstream shared-mime-info xdg-utils
    # the package's own check
    lintian
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
