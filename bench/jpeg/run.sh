#!/usr/bin/env bash
# Installs ImageMagick and the libvips tools when missing, builds the benchmark and runs
# it: the toolkit's ReduceJpgSize, convert and vipsthumbnail on one generated picture.
# Arguments go to jpeg_bench (--work DIR, --runs N).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
missing=()
for p in imagemagick libvips-tools; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
build="${BUILD_DIR:-$root/build}"
[ -f "$build/build.ninja" ] || "$root/scripts/build" >/dev/null
cmake --build "$build" --target jpeg_bench jpegreduce >/dev/null
"$build/bench/jpeg/jpeg_bench" "$@"
