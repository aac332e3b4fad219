#!/usr/bin/env bash
# Starts the editor from a build tree. Until the editor program exists, it runs the
# engine's model benchmark, the one program there is, and says so.
set -euo pipefail
build="${1:-build/dev}"
if [ -x "$build/bin/Veltrimond" ]; then
  exec "$build/bin/Veltrimond" "${@:2}"
fi
echo "The editor program is not built yet; running the score engine's model benchmark instead."
exec "$build/bin/model_bench" --benchmark_min_time=0.05
