#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need; quiet when all are there.
set -euo pipefail

packages=(
    cmake g++ make clang-format
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev
    libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    tdsodbc unixodbc-dev odbcinst
    postgresql-15
    xvfb xauth x11-utils imagemagick poppler-utils fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "Missing packages (run as root to install them): ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
