#!/usr/bin/env bash
# Times importing a Standard MIDI File, laying out every page and writing a PDF, here and in
# a peer notation program's command-line conversion, side by side in one run.
#   bench/compare-peer.sh FILE.mid [BUILD_DIR]
# The peer is MuseScore 3 (`mscore3`, Debian package musescore3), run offscreen with a
# throw-away HOME. Without it only this suite's figures are printed. Not part of CI.
set -euo pipefail
file="${1:?usage: bench/compare-peer.sh FILE.mid [BUILD_DIR]}"
build="${2:-build/dev}"
bench="$build/bin/scorebench"
[ -x "$bench" ] || { echo "compare-peer: $bench is not built (make run or cmake --build --preset dev)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s%N; }
pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }

start=$(now)
"$bench" "$file" --pdf "$work/ours.pdf" >"$work/ours.json"
ours_ms=$(( ($(now) - start) / 1000000 ))
echo "this suite: ${ours_ms} ms, $(pages "$work/ours.pdf") pages"

if ! command -v mscore3 >/dev/null; then
  echo "peer: mscore3 is not installed; no comparison"
  exit 0
fi
mkdir -p "$work/home"
start=$(now)
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
  QT_QPA_PLATFORM=offscreen mscore3 -o "$work/peer.pdf" "$file" >/dev/null 2>&1
peer_ms=$(( ($(now) - start) / 1000000 ))
echo "peer (mscore3): ${peer_ms} ms, $(pages "$work/peer.pdf") pages"
awk -v p="$peer_ms" -v o="$ours_ms" 'BEGIN { if (o > 0) printf "ratio: %.1fx faster\n", p / o }'
