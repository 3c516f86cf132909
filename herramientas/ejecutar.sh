#!/usr/bin/env bash
# Installs what is missing, builds Pelmora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash herramientas/dependencias.sh
cmake -S . -B build -G Ninja -DPELMORA_TESTS=OFF
cmake --build build
exec ./build/pelmora "$@"
