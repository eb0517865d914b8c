#!/bin/sh
# robot-session.sh PROGRAM             gives the login up through "Отмена" and expects the program
#                                      to end by itself with exit code 0
# robot-session.sh PROGRAM FIRST SECOND PASSWORD [STEP...]
#                                      logs in, registering a new pupil, takes each STEP in turn
#                                      and ends the program
# A STEP is a command of tests/network/pupil_robot.py with its arguments joined by "|"
# ("press|Выбрать тест", "answer", "expect|Текущий, строка 1|2"), or "hold|FOLDER": make
# FOLDER/held and keep the program running until FOLDER/release appears.
# Starts PROGRAM and acts at its windows as a user would, through its accessibility interface.
# Run on a desk with the accessibility bus: tarvel_desk --accessibility sh robot-session.sh ...
set -u
program=${1:?usage: robot-session.sh PROGRAM [FIRST SECOND PASSWORD [STEP...]]}
shift
robot="$(cd "$(dirname "$0")/.." && pwd)/tests/network/pupil_robot.py"
HOME=$(mktemp -d)
export HOME
trap 'rm -rf "$HOME"' EXIT
say() { echo "robot-session: $*" >&2; }

hold() {
    touch "$1/held" || return 1
    for _ in $(seq 600); do
        [ -e "$1/release" ] && return 0
        kill -0 "$pid" 2>/dev/null || { say "the program ended while held"; return 1; }
        sleep 0.2
    done
    say "nobody released the program held in $1"
    return 1
}

step() {
    case $1 in
    hold\|*) hold "${1#hold|}" ;;
    *)
        set -f
        old_ifs=$IFS
        IFS='|'
        # shellcheck disable=SC2086 # split at "|" on purpose
        set -- $1
        IFS=$old_ifs
        set +f
        /usr/bin/python3 "$robot" "$pid" "$@"
        ;;
    esac
}

QT_LOGGING_RULES="qt.multimedia*=false" "$program" &
pid=$!
status=1
if [ $# -ge 3 ]; then
    /usr/bin/python3 "$robot" "$pid" login "$1" "$2" "$3" && status=0
    shift 3
    for next in "$@"; do
        [ "$status" -eq 0 ] || break
        step "$next" || { say "the step '$next' failed"; status=1; }
    done
elif /usr/bin/python3 "$robot" "$pid" press "Отмена"; then
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        say "the program still runs after the login was given up"
    else
        wait "$pid"
        status=$?
        [ "$status" -eq 0 ] || say "the program ended with $status"
    fi
fi
kill "$pid" 2>/dev/null
exit "$status"
