#!/bin/sh
# check-classroom.sh PROGRAM GROUP DESK        as root, with the package installed; DESK is
#                                              tarvel_desk, which gives each program its display,
#                                              with scripts/robot-session.sh and
#                                              tests/network/pupil_robot.py beside it, where
#                                              every account can read them (as check-package.sh
#                                              lays them out)
# A classroom on one computer with the installed program, as README's Install section sets one
# up: the program folder is shared with Samba on loopback; a teacher account (in GROUP, as every
# account that uses the program) mounts the share and opens the monitor of its program, with
# net.ini naming the mounted share; a pupil account in GROUP registers and starts a test, which
# the monitor shows (name, current question); the pupil finishes it, and the journal and every
# file written stay writable by GROUP. Exits 77 (skipped) where the share cannot be served or
# mounted. Leaves no account, server, display or mount behind.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
pupil=tarvel-pupil
teacher=tarvel-teacher

fail() {
    echo "check-classroom: $*" >&2
    exit 1
}

# Inside the share (run by samba_share.sh). The teacher opens the monitor first, as in a lesson:
# a program that starts clears the test files of its own computer, and here both share one.
if [ "${1:-}" = --on-share ]; then
    program=$2
    group=$3
    desk=$4
    work=$5
    session="$(dirname "$desk")/scripts/robot-session.sh"
    data="$(dirname "$program")/data"
    # net.ini as the network setup writes it: one computer, the share's program folder.
    printf 'number\r\n 1 \r\n 1 \r\n%s\r\n' "$TARVEL_SHARE_MOUNT" |
        runuser -u "$teacher" -- sh -c 'cat >"$1"' sh "$data/net.ini"
    touch "$work/start"
    # ACCOUNT runs the program through the robot session's steps, in a process group of its own
    # that the clean-up ends, until it is held at "hold|$work/ACCOUNT".
    start() {
        account=$1
        shift
        install -d -o "$account" "$work/$account"
        setsid runuser -u "$account" -- "$desk" --accessibility sh "$session" "$program" "$@" \
            >"$work/$account.log" 2>&1 &
        echo $! >"$work/$account.pid"
        for _ in $(seq 300); do
            [ -e "$work/$account/held" ] || ! kill -0 "$(cat "$work/$account.pid")" 2>/dev/null &&
                break
            sleep 0.2
        done
        [ -e "$work/$account/held" ] || fail "$account did not get there: $(cat "$work/$account.log")"
    }
    # Goes on from the hold and returns the session's exit code.
    release() {
        touch "$work/$1/release"
        wait "$(cat "$work/$1.pid")"
    }
    start "$teacher" vedok vedok vedok "press|Администрирование" "press|Сетевая версия" \
        "expect|Компьютер, строка 1|№1" "hold|$work/$teacher" \
        "expect|Пользователь, строка 1|Пакетов|Текущий, строка 1|2"
    echo "check-classroom: $teacher opened the monitor of one computer, the share"
    start "$pupil" Иван Пакетов 12345 "press|Выбрать тест" "press|Пройти тест" \
        "press|Начать тест" answer "hold|$work/$pupil" finish
    echo "check-classroom: $pupil registered and answered question 1 of a test"
    release "$teacher" ||
        fail "the teacher's monitor did not show $pupil at question 2: $(cat "$work/$teacher.log")"
    echo "check-classroom: the teacher's monitor showed $pupil at question 2 through the share"
    release "$pupil" || fail "$pupil could not finish the test: $(cat "$work/$pupil.log")"
    # The first topic test of the catalogue (after "start": note, title, bank) asks every
    # question of its bank once.
    text() { iconv -f CP1251 "$1" | tr -d '\r'; }
    test=$(text "$data/jpg/14_15.jpg" | sed -n '/^start$/{n;n;p;q}')
    bank=$(text "$data/jpg/14_15.jpg" | sed -n '/^start$/{n;n;n;p;q}')
    asked=$(text "$data/jpg/$bank" | grep -cx vop)
    text "$data/attempts.txt" |
        awk -F '\t' -v test="$test" -v asked="$asked" \
            '$3 == "Пакетов" && $4 == test && $6 == asked { found = 1 } END { exit !found }' ||
        fail "the journal of attempts lacks $pupil's test '$test' of $asked questions"
    # What the programs wrote, the next pupil and the share must be able to replace.
    unshared=$(find "$data" -maxdepth 2 -type f -newer "$work/start" \( ! -group "$group" -o ! -perm -g+w \))
    [ -z "$unshared" ] || fail "not writable by the group $group: $unshared"
    echo "check-classroom: $pupil finished the test; its journal line and every file written are the group's"
    exit 0
fi

usage="usage: check-classroom.sh PROGRAM GROUP DESK"
program=${1:?$usage}
group=${2:?$usage}
desk=${3:?$usage}
[ "$(id -u)" -eq 0 ] || fail "making accounts needs root"
for account in "$pupil" "$teacher"; do
    if getent passwd "$account" >/dev/null; then
        fail "the account $account exists already; remove it (userdel $account) if an earlier check left it"
    fi
done
work=$(mktemp -d)
chmod 755 "$work"
made=""
cleanup() {
    for pids in "$work"/*.pid; do
        [ -f "$pids" ] && kill -- "-$(cat "$pids")" 2>/dev/null || true
    done
    for account in $made; do
        uid=$(id -u "$account")
        # Refused while a process of the account is still ending.
        for _ in $(seq 20); do
            userdel "$account" 2>/dev/null && break
            sleep 0.5
        done
        if getent passwd "$account" >/dev/null; then
            echo "check-classroom: could not remove $account" >&2
        else
            # What its programs left in /tmp when they were stopped.
            find /tmp -maxdepth 1 -uid "$uid" -exec rm -rf {} +
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
for account in "$pupil" "$teacher"; do
    useradd --no-create-home --groups "$group" "$account"
    made="$made $account"
done
sh "$source_dir/tests/network/samba_share.sh" --folder "$(dirname "$program")" --group "$group" \
    --user "$teacher" sh "$0" --on-share "$program" "$group" "$desk" "$work"
