#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""Generates varied calculations (.clc) to compare pelmora-calc with the oracle.

Starts from the four reference files datos/Vededizaviro/*.obs and changes
the stored entries of both columns at random:

  - valid cases: every figure within its field's limits and with its
    decimals; both options of each pair; financed shares of 0; tyre rows at
    0; service kilometres and hours below, equal to and above the billed
    totals; texts with accents, commas and the euro sign; fuel discounts of
    exactly 60 % of the price, just above and just below;
  - unchecked cases (named "libre-..."): figures out of limits, negative or
    huge, empty entries, an interest, useful life, period or tyre life of 0,
    a VAT of -100 %; and, in a few, a line of another kind (a boolean or a
    text where a figure goes, an option empty or holding a figure), which
    leaves the file damaged.

Usage:
    python3 herramientas/generar_casos.py FOLDER [COUNT] [SEED]

Writes FOLDER/caso-NNNN.clc and FOLDER/libre-NNNN.clc (184 lines,
Windows-1252, CR LF).
"""

import datetime
import glob
import os
import random
import sys
from decimal import Decimal, ROUND_HALF_UP

AQUI = os.path.dirname(os.path.abspath(__file__))
REFERENCIAS = os.path.join(AQUI, "..", "datos", "Vededizaviro")

# The stored fields in file order: (section, index, kind, dec, min, max)
#   kind: "num", "txt" (min/max = length), "opc" (an option)
def _n(sec, i, dec, lo, hi):
    return (sec, i, "num", dec, Decimal(str(lo)), Decimal(str(hi)))


def _t(sec, i, lo, hi):
    return (sec, i, "txt", -1, lo, hi)


def _o(sec, i):
    return (sec, i, "opc", None, None, None)


C, F1, F2, V, I, S = ("Caracteristicas", "CostesFijos1", "CostesFijos2",
                      "CostesVariables", "CostesIndirectos", "Servicio")

CAMPOS = [
    _t(C, 1, 1, 45), _n(C, 2, 0, 10, 200), _n(C, 3, 1, 4, 18), _n(C, 4, 0, 2, 4),
    _n(C, 5, 0, 100, 999), _n(C, 6, 0, 0, 28000), _t(C, 7, 0, 10), _t(C, 8, 0, 45),
    _n(C, 9, 0, 5000, 400000), _n(C, 10, 1, 20, 100), _n(C, 14, 0, 100, 5500),
    _n(C, 15, 1, 20, 100), _n(C, 19, 1, 20, 100), _n(C, 21, 1, 10, 100),

    _o(F1, 1), _n(F1, 2, 2, 6000, 600000), _n(F1, 3, 1, 0.1, 30), _n(F1, 4, 1, 0, 80),
    _n(F1, 6, 1, 0, 125), _n(F1, 8, 1, 0.1, 30), _n(F1, 9, 3, 0.1, 25),
    _n(F1, 10, 2, 0, 60000), _o(F1, 11), _n(F1, 12, 2, 0, 300000),
    _n(F1, 13, 1, 0.1, 30), _n(F1, 14, 1, 0, 80), _n(F1, 16, 1, 0, 125),
    _n(F1, 18, 1, 0.1, 30), _n(F1, 19, 3, 0.1, 25), _n(F1, 20, 2, 0, 60000),

    _n(F2, 1, 2, 0, 150000), _o(F2, 2), _n(F2, 3, 2, 0, 200), _n(F2, 4, 0, 0, 366),
    _n(F2, 6, 4, 0, 0.5), _n(F2, 8, 2, 0, 273200), _o(F2, 9),
    _n(F2, 10, 2, 0, 10000), _n(F2, 11, 2, 0, 15000), _n(F2, 12, 2, 0, 10000),
    _n(F2, 13, 2, 0, 5000), _n(F2, 14, 2, 0, 1500), _n(F2, 15, 2, 0, 5000),
    _n(F2, 16, 2, 0, 15000), _n(F2, 17, 2, 0, 5000), _n(F2, 18, 2, 0, 66500),
    _o(F2, 19), _n(F2, 20, 2, 0, 1500), _n(F2, 21, 2, 0, 1500), _n(F2, 22, 2, 0, 2000),
    _n(F2, 23, 2, 0, 2000), _n(F2, 24, 2, 0, 1500), _n(F2, 25, 2, 0, 6000),
    _n(F2, 26, 2, 0, 6000), _n(F2, 27, 2, 0, 30000), _n(F2, 28, 2, 0, 50500),

    _n(V, 1, 4, 0.3, 2), _n(V, 3, 4, 0, 2), _n(V, 4, 1, 0, 30), _n(V, 7, 1, 3, 80),
    _n(V, 8, 0, 0, 6), _n(V, 9, 2, 30, 2000), _n(V, 10, 0, 10000, 300000),
    _n(V, 11, 0, 0, 6), _n(V, 12, 2, 30, 2000), _n(V, 13, 0, 10000, 300000),
    _n(V, 14, 0, 0, 6), _n(V, 15, 2, 30, 2000), _n(V, 16, 0, 10000, 300000),
    _n(V, 17, 4, 0, 0.6), _n(V, 19, 2, 0, 30000),

    _o(I, 1), _n(I, 2, 2, 0, 30000), _n(I, 3, 2, 0, 30000), _n(I, 4, 2, 0, 30000),
    _n(I, 5, 2, 0, 90000),
]
for _b in (2, 8, 14, 20, 26):
    CAMPOS += [_n(S, _b, 2, 0, 60000), _n(S, _b + 1, 1, 0, 400000),
               _n(S, _b + 2, 2, 0, 5500)]

assert len(CAMPOS) == 91

NEUMATICOS = (8, 11, 14)

PALABRAS = ["Autocar", "autocar", "estándar", "plazas", "Clase", "III", "línea",
            "regular", "discrecional", "escolar", "viajeros", "camión", "año",
            "España", "Málaga", "Cádiz", "León", "niño", "pingüino", "€",
            "acción", "Ávila", "Ébro", "ÑANDÚ", "coste,", "km,", "ó", "(a)", "x",
            "1ª", "2º", "¿sí?", "¡no!", "«doble»", "ç", "ü", "à", "O'Neill"]


# ---------------------------------------------------------------------------

def leer_referencia(ruta):
    with open(ruta, "rb") as f:
        lineas = f.read().decode("cp1252").split("\r\n")
    return lineas[0:91], lineas[91], lineas[92:183], lineas[183]


def dec_texto(x, dec):
    q = Decimal(1).scaleb(-dec) if dec > 0 else Decimal(1)
    return x.quantize(q, rounding=ROUND_HALF_UP)


def numero(x, dec, azar):
    """A figure written in varied ways: 12.5, 12.50, .5, -0.25..."""
    x = dec_texto(Decimal(x), dec)
    t = format(x.normalize(), "f") if azar.random() < 0.8 else format(x, "f")
    if t in ("-0", "-0.0"):
        t = "0"
    if azar.random() < 0.1 and t.startswith("0."):
        t = t[1:]
    elif azar.random() < 0.1 and t.startswith("-0."):
        t = "-" + t[2:]
    return t


def aleatorio(dec, lo, hi, azar):
    r = azar.random()
    if r < 0.08:
        return lo
    if r < 0.16:
        return hi
    if r < 0.22 and lo <= 0 <= hi:
        return Decimal(0)
    if r < 0.40 and lo >= 0 and hi > 0:
        # spread logarithmically, so that there are small figures too
        base = max(lo, Decimal(1).scaleb(-dec) if dec > 0 else Decimal(1))
        u = azar.uniform(0, 1)
        x = Decimal(repr(float(base) * (float(hi) / float(base)) ** u))
        return min(hi, max(lo, dec_texto(x, dec)))
    paso = Decimal(1).scaleb(-dec) if dec > 0 else Decimal(1)
    pasos = int((hi - lo) / paso)
    return lo + paso * azar.randint(0, pasos)


def texto(lo, hi, azar):
    if hi == 0 or (lo == 0 and azar.random() < 0.15):
        return ""
    n = azar.randint(1, 6)
    t = " ".join(azar.choice(PALABRAS) for _ in range(n))
    t = t[:hi].strip()
    if len(t) < lo:
        t = "A"
    return t


def cifra(item):
    try:
        return Decimal(item)
    except Exception:
        return None


def facturado(total, pct):
    if total is None or pct is None:
        return Decimal(0)
    return (total * pct / 100).quantize(Decimal(1), rounding=ROUND_HALF_UP)


class Columna:
    """The 91 lines of a column, read and written by section and index."""

    def __init__(self, base):
        self.items = list(base)
        self.idx = {(c[0], c[1]): k for k, c in enumerate(CAMPOS)}

    def poner(self, sec, i, valor):
        self.items[self.idx[(sec, i)]] = valor

    def leer(self, sec, i):
        return cifra(self.items[self.idx[(sec, i)]])


def descuento_valido(col, azar):
    """Fuel discount: within its range, exactly 60 % or above."""
    precio = col.leer(V, 1) or Decimal("1.2")
    r = azar.random()
    if r < 0.12:
        p = Decimal(azar.randint(60, 400)) * Decimal("0.005")   # 0.3 .. 2.0
        col.poner(V, 1, numero(p, 4, azar))
        col.poner(V, 3, numero(p * Decimal("0.6"), 4, azar))
    elif r < 0.18:
        col.poner(V, 3, numero(min(Decimal(2), dec_texto(precio * Decimal("0.6"), 4)
                                   + Decimal("0.0001")), 4, azar))
    elif r < 0.24:
        col.poner(V, 3, numero(max(Decimal(0), dec_texto(precio * Decimal("0.6"), 4)
                                   - Decimal("0.0001")), 4, azar))
    elif r < 0.30:
        col.poner(V, 3, numero(aleatorio(4, Decimal(0), Decimal(2), azar), 4, azar))
    else:
        d = col.leer(V, 3) or Decimal(0)
        if d > precio * Decimal("0.6"):
            col.poner(V, 3, numero(dec_texto(precio * Decimal(azar.uniform(0, 0.6)), 4), 4, azar))


def servicios_validos(col, azar, prob_cambio):
    """Services: kilometres and hours below, equal to or above the total."""
    km = facturado(col.leer(C, 9), col.leer(C, 10))
    horas = facturado(col.leer(C, 14), col.leer(C, 15))
    for b in (2, 8, 14, 20, 26):
        if azar.random() > prob_cambio + 0.2:
            continue
        for j, tope, dec in ((b + 1, km, 1), (b + 2, horas, 2)):
            r = azar.random()
            if r < 0.2:
                v = Decimal(0)
            elif r < 0.3:
                v = tope
            elif r < 0.45:
                v = tope + Decimal(1).scaleb(-dec) * azar.randint(1, 5000)
            else:
                v = tope * Decimal(azar.random())
            v = min(v, Decimal(400000) if dec == 1 else Decimal(5500))
            col.poner(S, j, numero(dec_texto(v, dec), dec, azar))
        col.poner(S, b, numero(aleatorio(2, Decimal(0), Decimal(60000), azar), 2, azar))


def columna_valida(base, azar, prob_cambio):
    """A column of 91 lines with figures within limits."""
    col = Columna(base)
    for k, (sec, i, tipo, dec, lo, hi) in enumerate(CAMPOS):
        if azar.random() >= prob_cambio:
            continue
        if tipo == "opc":
            col.items[k] = azar.choice(["#TRUE#", "#FALSE#"])
        elif tipo == "txt":
            col.items[k] = '"%s"' % texto(lo, hi, azar)
        else:
            col.items[k] = numero(aleatorio(dec, lo, hi, azar), dec, azar)

    # An even number of tyres; now and then tyre rows without tyres.
    for n in NEUMATICOS:
        v = col.leer(V, n)
        if v is None or v % 2 != 0 or azar.random() < prob_cambio * 0.3:
            col.poner(V, n, str(azar.choice([0, 0, 2, 2, 4, 6])))

    # Financed shares of 0.
    for i in (6, 16):
        if azar.random() < 0.15:
            col.poner(F1, i, "0")
    if azar.random() < 0.1:
        col.poner(F1, 12, "0")

    descuento_valido(col, azar)

    # Group totals: now the exact sum, now another figure.
    for sec, total, partes, maximo in ((F2, 18, range(10, 18), 66500),
                                       (F2, 28, range(20, 28), 50500),
                                       (I, 5, range(2, 5), 90000)):
        if azar.random() < 0.5:
            s = sum((col.leer(sec, j) or Decimal(0)) for j in partes)
            col.poner(sec, total, numero(min(s, Decimal(maximo)), 2, azar))

    servicios_validos(col, azar, prob_cambio)
    return col.items


def columna_libre(base, azar):
    """A column with entries out of limits, empty or of another kind."""
    items = columna_valida(base, azar, 0.3)
    idx = {(c[0], c[1]): k for k, c in enumerate(CAMPOS)}

    def poner(sec, i, valor):
        items[idx[(sec, i)]] = valor

    especiales = [
        lambda: poner(F1, 9, "0"), lambda: poner(F1, 19, "0"),
        lambda: poner(F1, 8, "0"), lambda: poner(F1, 18, "0"),
        lambda: poner(F1, 3, "0"), lambda: poner(F1, 13, "0"),
        lambda: poner(F1, 9, "-100"), lambda: poner(F1, 9, "-150"),
        lambda: poner(F1, 8, "-2.5"),
        lambda: poner(V, azar.choice((10, 13, 16)), "0"),
        lambda: poner(V, azar.choice((10, 13, 16)), ""),
        lambda: poner(V, azar.choice(NEUMATICOS), "3"),
        lambda: poner(V, 4, "-100"), lambda: poner(V, 1, "0"),
        lambda: poner(V, 1, ""), lambda: poner(V, 1, "-1.5"),
        lambda: poner(V, 3, "5"),
        lambda: poner(C, 9, "0"), lambda: poner(C, 9, ""),
        lambda: poner(C, 9, "5000000000"), lambda: poner(C, 9, "-120000"),
        lambda: poner(C, 9, "30000000000000000000000000"),
        lambda: poner(C, 2, "100000"), lambda: poner(C, 2, "1"), lambda: poner(C, 2, "0"),
        lambda: poner(C, 10, "0"), lambda: poner(C, 15, "0"), lambda: poner(C, 14, "0"),
        lambda: poner(C, 10, "250"), lambda: poner(C, 21, "-50"),
        lambda: poner(C, 1, ""), lambda: poner(C, 7, ""),
        lambda: poner(F2, 3, ""), lambda: poner(F2, 4, "100000"),
        lambda: poner(F2, 6, "-0.3"),
        lambda: poner(F1, 2, "0"), lambda: poner(F1, 2, ""),
        lambda: poner(F1, 2, "99999999999999"), lambda: poner(F1, 6, ""),
        lambda: poner(F1, 4, "150"), lambda: poner(F1, 14, "-20"),
        lambda: poner(I, 5, ""), lambda: poner(I, 2, "-500"),
        lambda: poner(F2, 1, "1000000000000"),
        lambda: poner(S, azar.choice((3, 9, 15)), "-10"),
        lambda: poner(S, azar.choice((2, 8, 14)), "-1000"),
        lambda: poner(S, azar.choice((4, 10, 16)), "99999"),
        lambda: poner(F1, 2, "10000000000000000000000000000"),
        lambda: poner(F2, 1, "10000000000000000000000000000"),
        lambda: poner(I, 5, "10000000000000000000000000000"),
        lambda: poner(V, 19, "100000000000000000000000000"),
        lambda: poner(C, 14, "10000000000000000000000000000"),
        lambda: poner(F1, 12, "1000000000000000000000000000"),
    ]
    for _ in range(azar.randint(1, 6)):
        azar.choice(especiales)()

    # A column with every figure zero or empty: no costs, no activity.
    if azar.random() < 0.1:
        for k, campo in enumerate(CAMPOS):
            if campo[2] == "num":
                items[k] = azar.choice(["0", "0", ""])
        return items

    # Empty entries (an option cannot be) and figures out of limits.
    for k, campo in enumerate(CAMPOS):
        r = azar.random()
        if r < 0.03 and campo[2] != "opc":
            items[k] = ""
        elif r < 0.07 and campo[2] == "num":
            dec = campo[3]
            hi = campo[5]
            items[k] = numero(Decimal(azar.uniform(-1.0, 3.0)) * hi, dec, azar)

    # Now and then a line of another kind: a file that is refused.
    if azar.random() < 0.1:
        k = azar.choice([k for k, c in enumerate(CAMPOS) if c[2] != "txt"])
        if CAMPOS[k][2] == "num":
            items[k] = azar.choice(["#TRUE#", "#FALSE#", '"abc"', '"12"', '""'])
        else:
            items[k] = azar.choice(["", "0", "-1", '"#TRUE#"'])
    return items


def fecha(azar):
    d = datetime.date(1999, 1, 1) + datetime.timedelta(days=azar.randint(0, 12000))
    return "#%s#" % d.isoformat()


def escribir(ruta, col_s, fecha_s, col_o, fecha_o):
    lineas = col_s + [fecha_s] + col_o + [fecha_o]
    assert len(lineas) == 184
    with open(ruta, "wb") as f:
        f.write("".join(l + "\r\n" for l in lineas).encode("cp1252"))


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 64
    carpeta = argv[1]
    cantidad = int(argv[2]) if len(argv) > 2 else 2000
    azar = random.Random(int(argv[3]) if len(argv) > 3 else 1)
    bases = [leer_referencia(r) for r in sorted(glob.glob(os.path.join(REFERENCIAS, "*.obs")))]
    if not bases:
        sys.stderr.write("No hay archivos de referencia en %s\n" % REFERENCIAS)
        return 1
    os.makedirs(carpeta, exist_ok=True)
    libres = 0
    for n in range(cantidad):
        s, fs, o, fo = azar.choice(bases)
        libre = azar.random() < 0.15
        if libre:
            libres += 1
            col_s = columna_libre(s, azar)
            col_o = columna_libre(o, azar) if azar.random() < 0.5 else columna_valida(o, azar, 0.2)
            nombre = "libre-%04d.clc" % n
        else:
            col_s = columna_valida(s, azar, azar.choice([0.2, 0.5, 0.9]))
            col_o = columna_valida(o, azar, azar.choice([0.0, 0.2, 0.6]))
            nombre = "caso-%04d.clc" % n
        escribir(os.path.join(carpeta, nombre), col_s, fecha(azar), col_o,
                 fecha(azar) if azar.random() < 0.5 else fo)
    print("%d archivos en %s (%d sin comprobar)" % (cantidad, carpeta, libres))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
