#!/bin/sh
# Builds the core library and every test of it that needs no display for Windows (MinGW-w64,
# against a Qt built once by windows-qt.sh) and runs the tests under Wine in a new prefix, as a
# person with a fresh Wine would. The tests start from the demo data of the Linux build.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
cache="${TARVEL_WINDOWS_CACHE:-$HOME/.cache/tarvel-windows}"
build="$root/build-windows-check"

./scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev
started=$(date +%s)
sh scripts/windows-qt.sh
echo "windows-check: Qt for Windows ready after $(( $(date +%s) - started )) s"

"$cache/qt/bin/qt-cmake" -G Ninja -S "$root" -B "$build" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DTARVEL_CORE_ONLY=ON -DTARVEL_WERROR=ON -DTARVEL_DEMO_DATA_DIR="$root/build/bin/data" >/dev/null
cmake --build "$build"

# What a Windows program needs beside it: Qt's libraries and MinGW's runtime.
tests="$build/tests"
cp "$cache/qt/bin/Qt6Core.dll" "$cache/qt/bin/Qt6Test.dll" "$tests/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll \
   /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll \
   /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$tests/"

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wine wineboot --init >/dev/null 2>&1 || true
# A pupil's share as the teacher's net.ini names it: Wine serves \\PUPIL\Tarvel from a folder.
mkdir -p "$WINEPREFIX/share" "$WINEPREFIX/dosdevices/unc/pupil"
ln -s "$WINEPREFIX/share" "$WINEPREFIX/dosdevices/unc/pupil/tarvel"
export TARVEL_TEST_SHARE='\\PUPIL\Tarvel'

failed=0
passed=0
results="$build/results"
rm -rf "$results"
mkdir -p "$results"
for test in "$tests"/tst_*.exe; do
  name=$(basename "$test" .exe)
  # Under Wine a test's own output reaches no terminal: it writes its log to a file. Each runs
  # on a terminal of its own, as from a command prompt: Wine gives a console only to a program
  # started on a terminal, and the console answers are tested on it.
  (cd "$tests" && timeout 600 script -qec "stty rows 50 cols 160; wine '$test' -o '$results/$name.txt,txt'" /dev/null \
    </dev/null >/dev/null 2>&1) || true
  if grep -q '^Totals: .* 0 failed' "$results/$name.txt" 2>/dev/null; then
    passed=$((passed + 1))
    echo "windows-check: $name passed: $(grep '^Totals:' "$results/$name.txt")"
  else
    failed=$((failed + 1))
    echo "windows-check: $name FAILED"
    grep -E '^(FAIL|XPASS)|Loc:|^Totals' "$results/$name.txt" 2>/dev/null | head -n 40 || true
  fi
done
echo "windows-check: $passed passed, $failed failed under Wine ($(( $(date +%s) - started )) s)"
[ "$failed" -eq 0 ]
