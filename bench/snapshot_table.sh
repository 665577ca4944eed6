#!/usr/bin/env bash
# Snapshot figures: the program's JPEG encoding against tjbench on the same test-camera frame,
# and request-to-file of the real program (from the request's folder probe to the still's rename)
# under a virtual display with a test camera. Usage: bench/snapshot_table.sh [build dir]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
BUILD=${1:-build}
cmake --build "$BUILD" -j2 --target vistrel_snapshot_bench vistrel vistrel_videoeffect vistrel-regsvr vistrel_pictures vistrel_sounds
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== Encoding (quality 75, 4:2:0, bottom-up BGR), same frame"
for size in 640x480 1280x1024; do
    w=${size%x*}; h=${size#*x}
    gst-launch-1.0 -q videotestsrc num-buffers=1 ! "video/x-raw,format=BGR,width=$w,height=$h" ! filesink location="$work/f.bgr"
    "$BUILD/bench/vistrel_snapshot_bench" "$work/f.bgr" "$w" "$h" 300
    convert -size "${w}x${h}" -depth 8 "bgr:$work/f.bgr" "BMP3:$work/f.bmp"
    fps=$(cd "$work" && tjbench f.bmp 75 -subsamp 420 -bottomup -benchtime 2 -warmup 1 |
          awk '/Compress +--> Frame rate/{print $5}')
    awk -v fps="$fps" -v s="$size" 'BEGIN{printf "%s tjbench: %.3f ms\n", s, 1000/fps}'
done

echo "== Request to file (real program, test camera, Xvfb)"
for mode in 1 2; do
    root="$work/run$mode"
    mkdir -p "$root/cfg/Corvane/Vistrel" "$root/img" "$root/dev" "$root/rt" "$root/home"
    chmod 700 "$root/rt"
    printf '[HKEY_LOCAL_MACHINE\\Software\\Corvane\\Vistrel]\nImagePath=%s/img/\nResolutionMode=%s\n' "$root" "$mode" \
        >"$root/cfg/Corvane/Vistrel/registry.ini"
    printf '[Device]\nName=Bench Camera\nSizes=352x288;640x480;1280x1024\n' >"$root/dev/Bench Camera.camera"
    XDG_CONFIG_HOME="$root/cfg" XDG_RUNTIME_DIR="$root/rt" HOME="$root/home" VISTREL_TEST_DEVICES="$root/dev" \
        GST_REGISTRY="$work/registry.bin" ROOT="$root" PROGRAM="$BUILD/Vistrel/vistrel" \
        xvfb-run -a -s "-screen 0 1600x1200x24" python3 bench/snapshot_latency.py
done
