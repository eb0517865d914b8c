#!/bin/sh
# samba_share.sh [--folder FOLDER --group GROUP] [--user ACCOUNT] COMMAND [ARGUMENTS...]
# Serves one pupil program folder through a real Samba server on loopback, mounts it with the
# kernel's cifs client or, where the kernel has none, with smbnetfs (FUSE), and runs COMMAND with
# TARVEL_SHARE_LOCAL, the folder served, and TARVEL_SHARE_MOUNT, the same folder through the
# share (both end with "/"). Without options it serves a fresh folder in which guests write as
# root. --folder serves FOLDER as a school shares an installed program folder (README): guests
# write as nobody in GROUP. --user mounts the share for ACCOUNT, as a teacher mounts it, rather
# than for root. Exits 77 (skipped) where no share can be mounted.
skip() { echo "SKIP: $*"; exit 77; }
folder=""
group=""
account=""
while [ $# -gt 1 ]; do
  case $1 in
    --folder) folder=$2 ;;
    --group) group=$2 ;;
    --user) account=$2 ;;
    *) break ;;
  esac
  shift 2
done
[ $# -ge 1 ] && { [ -z "$folder" ] || [ -n "$group" ]; } ||
  { echo "usage: samba_share.sh [--folder FOLDER --group GROUP] [--user ACCOUNT] COMMAND [ARGUMENTS...]" >&2; exit 2; }
command -v smbd >/dev/null 2>&1 || skip "smbd is not installed (scripts/install-deps.sh installs samba)"
[ "$(id -u)" -eq 0 ] || skip "serving and mounting a share needs root"
# As the one the share is mounted for.
as_owner() {
  if [ -n "$account" ]; then runuser -u "$account" -- "$@"; else "$@"; fi
}

work=$(mktemp -d /tmp/tarvel-smb.XXXXXX)
mounted=""
cleanup() {
  [ -n "$mounted" ] && { umount "$work/mnt" 2>/dev/null || fusermount -u "$work/mnt" 2>/dev/null; }
  if [ -f "$work/run/smbd.pid" ]; then
    pid=$(cat "$work/run/smbd.pid")
    kill "$pid" 2>/dev/null
    # Gone before the next run needs the port.
    for i in $(seq 1 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.5
    done
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
mkdir -p "$work/share/data/jpg" "$work/run" "$work/private" "$work/mnt" "$work/home/.smb"
if [ -n "$folder" ]; then
  path=$folder
  guests="force user = nobody
  force group = $group
  create mask = 0664
  directory mask = 2775"
else
  path=$work/share
  guests="force user = root"
fi
[ -z "$account" ] || chmod 755 "$work"
cat > "$work/smb.conf" <<CONF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = 445
  disable netbios = yes
  pid directory = $work/run
  lock directory = $work/run
  state directory = $work/run
  cache directory = $work/run
  ncalrpc dir = $work/run/ncalrpc
  private dir = $work/private
  log file = $work/smbd.log
  map to guest = Bad User
  server role = standalone server
  load printers = no
  printcap name = /dev/null
  disable spoolss = yes
[pupil]
  path = $path
  read only = no
  guest ok = yes
  $guests
CONF
if command -v ss >/dev/null 2>&1 && ss -ltn | grep -q '127.0.0.1:445 '; then
  skip "port 445 on loopback is taken by another server"
fi
smbd -D -s "$work/smb.conf" || skip "smbd did not start: $(tail -n 20 "$work/smbd.log" 2>/dev/null)"
# Serving once this smbd itself listens on loopback port 445; never a server of another run.
listening() {
  [ -f "$work/run/smbd.pid" ] || return 1
  pid=$(cat "$work/run/smbd.pid")
  ss -ltnp 2>/dev/null | grep '127.0.0.1:445 ' | grep -q "pid=$pid,"
}
for i in $(seq 1 60); do
  listening && break
  sleep 0.5
done
listening || skip "smbd does not listen on 127.0.0.1:445; it said: $(tail -n 20 "$work/smbd.log" 2>/dev/null)"

pupil=""
if mount -t cifs //127.0.0.1/pupil "$work/mnt" -o "guest,vers=3.0${account:+,uid=$account}" 2>"$work/mount.log"; then
  mounted=cifs
  pupil="$work/mnt/"
elif command -v smbnetfs >/dev/null 2>&1 && [ -e /dev/fuse ]; then
  printf '[global]\n  client min protocol = SMB2\n' > "$work/home/.smb/smb.conf"
  printf 'smb_query_browsers "false"\nauth "guest" ""\nhost 127.0.0.1\n' > "$work/home/.smb/smbnetfs.conf"
  chmod 600 "$work/home/.smb/smb.conf" "$work/home/.smb/smbnetfs.conf"
  # Mounted by root: /dev/fuse is often root's alone. A FUSE mount is open to its owner only,
  # unless it allows others.
  if HOME="$work/home" smbnetfs "$work/mnt" ${account:+-o allow_other} 2>"$work/smbnetfs.log"; then
    mounted=smbnetfs
    pupil="$work/mnt/127.0.0.1/pupil/"
    for i in $(seq 1 20); do
      as_owner test -d "$pupil/data" && break
      sleep 0.5
    done
  fi
fi
[ -n "$mounted" ] && as_owner test -d "$pupil/data" || skip "neither the kernel's cifs nor smbnetfs could mount the share: $(cat "$work/mount.log" "$work/smbnetfs.log" 2>/dev/null)"
echo "Share mounted with $mounted at $pupil"
TARVEL_SHARE_LOCAL="$path/" TARVEL_SHARE_MOUNT="$pupil" "$@"
