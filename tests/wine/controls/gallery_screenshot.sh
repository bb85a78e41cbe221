#!/usr/bin/env bash
# Runs the controls gallery under the harness's Wine and saves a PNG of its window, taken from
# the virtual display. Usage: gallery_screenshot.sh GALLERY_EXE OUTPUT_PNG
set -euo pipefail
exe=$1 out=$2
: "${PM_WINE:?run through tools/test}" "${DISPLAY:?no display}"
work=$(mktemp -d)
trap 'touch "$work/quit"; rm -rf "$work"' EXIT
winpath() { echo "Z:$(sed 's|/|\\|g' <<<"$1")"; }

"$PM_WINE" "$exe" "$(winpath "$work/ready")" "$(winpath "$work/quit")" </dev/null >"$work/gallery.log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  [ -s "$work/ready" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "gallery ended early" >&2; cat "$work/gallery.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/ready" ] || { echo "gallery never became ready" >&2; exit 1; }
read -r x y w h < <(tr -d '\r' <"$work/ready")
mkdir -p "$(dirname "$out")"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
touch "$work/quit"
wait "$pid"
size=$(identify -format '%wx%h' "$out")
[ "$size" = "${w}x${h}" ] || { echo "screenshot is $size, expected ${w}x${h}" >&2; exit 1; }
# A blank capture has one colour; the gallery has many.
colours=$(convert "$out" -format '%k' info:)
[ "$colours" -gt 20 ] || { echo "screenshot has only $colours colours" >&2; exit 1; }
echo "saved $out ($size, $colours colours)"
