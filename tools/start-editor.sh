#!/usr/bin/env bash
# Starts the editor from a build tree (default build/dev); further arguments go to the editor,
# e.g. a score file to open.
set -euo pipefail
build="${1:-build/dev}"
editor="$build/bin/Veltrimond"
if [ ! -x "$editor" ]; then
  echo "The editor is not built in $build: run 'make run' or build the Veltrimond target." >&2
  exit 1
fi
exec "$editor" "${@:2}"
