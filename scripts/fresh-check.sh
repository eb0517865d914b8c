#!/bin/sh
# Builds a bare Debian 12 (debootstrap's minbase) in a temporary folder, installs there only what
# README says to install first, clones this checkout into it and runs README's two commands as
# written, then removes it. A package the build or the tests need and README's commands do not
# install shows here. Needs root (debootstrap, chroot, mounts).
set -e
cd "$(dirname "$0")/.."
source_dir=$(pwd)
[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root (debootstrap and chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || { apt-get update -qq; apt-get install -y -qq debootstrap; }

mirror=$(sed -n 's/^URIs: //p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
root=$(mktemp -d /var/tmp/tarvel-fresh.XXXXXX)
cleanup() {
  for m in dev/shm dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
started=$(date +%s)

debootstrap --variant=minbase bookworm "$root" "${mirror:-http://deb.debian.org/debian}" >/dev/null
cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
echo "fresh-check: bare system ready after $(( $(date +%s) - started )) s"

# README's prerequisite line, then its commands as written, in a clone of this checkout.
git clone -q "$source_dir" "$root/root/tarvel"
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  sh -ec 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq make git >/dev/null
          cd /root/tarvel && make test'
echo "fresh-check: README's commands passed on a bare Debian 12 in $(( $(date +%s) - started )) s"
