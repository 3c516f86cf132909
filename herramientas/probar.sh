#!/usr/bin/env bash
# Installs what is missing, builds Pelmora with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash herramientas/dependencias.sh
cmake -S . -B build-pruebas -G Ninja -DPELMORA_TESTS=ON
cmake --build build-pruebas
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-pruebas --output-on-failure --timeout 300
