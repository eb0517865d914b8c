#!/bin/sh
# Builds Qt's Core, Concurrent and Test modules for Windows (MinGW-w64) once, from the source of
# the very Qt that Debian ships, with Debian's own Qt as the host tools. The result is cached in
# $TARVEL_WINDOWS_CACHE (default ~/.cache/tarvel-windows) and reused by later runs.
set -e
cache="${TARVEL_WINDOWS_CACHE:-$HOME/.cache/tarvel-windows}"
prefix="$cache/qt"
[ -x "$prefix/bin/qt-cmake" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
mkdir -p "$cache/source"
if [ -z "$(ls -d "$cache"/source/qt6-base-*/ 2>/dev/null)" ]; then
  # The source of the installed Qt: the same release's deb-src entry beside its deb entry.
  if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/tarvel-deb-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
  (cd "$cache/source" && apt-get source -qq qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev))
fi
source_dir=$(ls -d "$cache"/source/qt6-base-*/ | head -n1)

cat > "$cache/mingw.cmake" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TOOLCHAIN

rm -rf "$cache/qt-build"
mkdir -p "$cache/qt-build"
cd "$cache/qt-build"
cmake -G Ninja "$source_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_gui=OFF -DFEATURE_widgets=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF \
  -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_opengl=OFF -DFEATURE_xml=OFF \
  -DFEATURE_printsupport=OFF
cmake --build . --parallel
cmake --install .
