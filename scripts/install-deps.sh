#!/bin/sh
# Installs the Debian packages needed to build, run and test the program, and those named as
# arguments; skips what is present.
set -e
packages="cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev qt6-charts-dev qt6-tools-dev-tools libgl-dev
  qt6-qpa-plugins fonts-dejavu-core libqt6svg6 clang libclang-rt-14-dev
  libbenchmark-dev
  dpkg-dev desktop-file-utils appstream acl
  qt6-translations-l10n
  samba smbnetfs poppler-utils
  xvfb xdotool dbus-daemon at-spi2-core python3-pyatspi openbox iproute2 $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
