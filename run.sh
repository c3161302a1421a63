#!/usr/bin/env bash
# Builds when needed, makes the demo install folder when missing and starts quotedesk in it.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)

if [ ! -x build/bin/quotedesk ] || [ ! -x build/bin/demodata ]; then
  # A machine without the build tools gets them (and a first build) from the test command.
  if ! command -v cmake >/dev/null ||
     ! dpkg-query -W -f='${Status}' qt6-base-dev 2>/dev/null | grep -q "install ok installed"; then
    ./test.sh
  fi
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j "$(nproc)"
else
  cmake --build build -j "$(nproc)" >/dev/null
fi

if [ ! -d demo/data ]; then
  build/bin/demodata "$top/demo"
fi

# The fixed drive "c:" of the folder-pointer file lives beside the demo folder.
export QUOTEDESK_DRIVE_C="${QUOTEDESK_DRIVE_C:-$top/demo/drive_c}"
mkdir -p "$QUOTEDESK_DRIVE_C"
cd demo
exec "$top/build/bin/quotedesk" "$@"
