#!/usr/bin/env bash
# Compares pelmora-calc --json with the oracle herramientas/oraculo.py on
# calculations generated at random by herramientas/generar_casos.py.
#
# Usage: herramientas/comparar_oraculo.sh [COUNT] [SEED] [FOLDER]
#   COUNT   files to generate (2000)
#   SEED    seed of the random numbers (1)
#   FOLDER  where to put them (a new temporary folder)
# Variables: PELMORA_CALC (the executable; without it, one is built in
# build-oraculo without the windows and the tests).
# Ends with 0 when there is no difference and with 1 when there is.
set -euo pipefail
cd "$(dirname "$0")/.."
cantidad=${1:-2000}
semilla=${2:-1}
carpeta=${3:-$(mktemp -d /tmp/oraculo-casos.XXXXXX)}

calc=${PELMORA_CALC:-build-oraculo/pelmora-calc}
if [[ -z ${PELMORA_CALC:-} ]]; then
    cmake -S . -B build-oraculo -G Ninja -DPELMORA_GUI=OFF -DPELMORA_TESTS=OFF >/dev/null
    cmake --build build-oraculo -j2 --target pelmora-calc >/dev/null
fi

python3 herramientas/generar_casos.py "$carpeta" "$cantidad" "$semilla"
python3 herramientas/oraculo.py --comparar "$calc" "$carpeta"/*.clc
