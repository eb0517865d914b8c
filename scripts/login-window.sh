#!/bin/sh
# login-window.sh PROGRAM                        gives the login up through "Отмена" and expects
#                                                the program to end by itself with exit code 0
# login-window.sh PROGRAM FIRST SECOND PASSWORD  logs in, registering a new pupil, then ends it
# Starts PROGRAM on the current X display with its accessibility interface on and acts at its
# login window as a user would. Run inside a session bus (dbus-run-session).
set -u
program=${1:?usage: login-window.sh PROGRAM [FIRST SECOND PASSWORD]}
shift
robot="$(cd "$(dirname "$0")/.." && pwd)/tests/network/pupil_robot.py"
HOME=$(mktemp -d)
export HOME
trap 'rm -rf "$HOME"' EXIT

/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    QT_LOGGING_RULES="qt.multimedia*=false" "$program" &
pid=$!
status=1
if [ $# -eq 3 ]; then
    /usr/bin/python3 "$robot" "$pid" login "$@" && status=0
elif /usr/bin/python3 "$robot" "$pid" press "Отмена"; then
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "login-window: the program still runs after the login was given up" >&2
    else
        wait "$pid"
        status=$?
        [ "$status" -eq 0 ] || echo "login-window: the program ended with $status" >&2
    fi
fi
kill "$pid" "$bus" 2>/dev/null
exit "$status"
