#!/usr/bin/env bash
# Builds when needed, makes the demo install folder when missing and starts quotedesk in it. An
# existing demo/ is kept as it is: remove it to start again from the sample.
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
  # The demo is written into a folder beside its place and put there only once demodata has
  # written all of it: a run that fails part way (a full disk) leaves no half-made demo for
  # later runs to open, and demodata's message says why.
  new=$(mktemp -d "$top/demo.new-XXXXXX")
  chmod "$(umask -S)" "$new" # as a folder made by mkdir, not one only its owner may enter
  trap 'rm -rf -- "$new"' EXIT
  trap 'exit 130' INT TERM HUP
  build/bin/demodata "$new"
  if [ ! -e demo ]; then
    mv -T -- "$new" demo
  else
    # A demo/ without its data (removed to have them afresh) keeps all it holds and gets the
    # parts of the demo it lacks, each put in whole.
    for part in "$new"/*; do
      [ -e "demo/${part##*/}" ] || mv -T -- "$part" "demo/${part##*/}"
    done
  fi
  rm -rf -- "$new"
  trap - EXIT INT TERM HUP
fi

# The fixed drive "c:" of the folder-pointer file lives beside the demo folder.
export QUOTEDESK_DRIVE_C="${QUOTEDESK_DRIVE_C:-$top/demo/drive_c}"
mkdir -p "$QUOTEDESK_DRIVE_C"
cd demo
exec "$top/build/bin/quotedesk" "$@"
