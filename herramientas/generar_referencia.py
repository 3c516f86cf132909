#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""Generates Pelmora's four reference data files (.obs).

Each file is a whole calculation of 184 lines in the format of the .clc
files: Windows-1252 text, one entry per line ended by CR LF, lines 1-91 the
user column, line 92 its date, lines 93-183 the reference column and line
184 its date.  A new calculation starts from these figures, so both columns
are the same.

Usage:
    python3 herramientas/generar_referencia.py [destination_folder]

Without an argument it writes to datos/Vededizaviro/ beside this folder.
After writing, it reads the files again and checks their format, each
field's limits, the decimals, that the totals agree and the order of the
costs between categories; it ends with code 1 when anything fails.
"""

import datetime
import os
import sys
from decimal import Decimal, ROUND_HALF_UP

FECHA = datetime.date(2026, 1, 15)

# ---------------------------------------------------------------------------
# The stored fields of each section, in file order.
# Each field: (index, kind, decimals, minimum, maximum)
#   kind "num": a number; "txt": a text (minimum/maximum = length); "opc": an option
# ---------------------------------------------------------------------------

def num(i, dec, lo, hi):
    return (i, "num", dec, Decimal(str(lo)), Decimal(str(hi)))


def txt(i, minlen, maxlen):
    return (i, "txt", -1, minlen, maxlen)


def opc(i):
    return (i, "opc", None, None, None)


# Longest text a figure shows (with thousands and decimal separators)
LONGITUD = {
    1: {2: 3, 3: 4, 4: 1, 5: 3, 6: 6, 9: 7, 10: 5, 14: 5, 15: 5, 19: 5, 21: 5},
    2: {2: 10, 3: 4, 4: 4, 6: 5, 8: 4, 9: 6, 10: 10,
        12: 10, 13: 4, 14: 4, 16: 5, 18: 4, 19: 6, 20: 10},
    3: {1: 10, 3: 6, 4: 3, 6: 6, 8: 9, 18: 9, 27: 9, 28: 9,
        **{i: 9 for i in range(10, 18)},
        **{i: 8 for i in range(20, 27)}},
    4: {1: 6, 3: 6, 4: 4, 7: 4, 8: 1, 9: 8, 10: 7, 11: 1, 12: 8, 13: 7,
        14: 1, 15: 8, 16: 7, 17: 6, 19: 9},
    5: {2: 9, 3: 9, 4: 9, 5: 10},
    6: {},
}
for _b in (2, 8, 14, 20, 26):
    LONGITUD[6].update({_b: 9, _b + 1: 9, _b + 2: 8})

BLOQUES = [
    # 1. Technical and operating characteristics
    [txt(1, 1, 45), num(2, 0, 10, 200), num(3, 1, 4, 18), num(4, 0, 2, 4),
     num(5, 0, 100, 999), num(6, 0, 0, 28000), txt(7, 0, 10), txt(8, 0, 45),
     num(9, 0, 5000, 400000), num(10, 1, 20, 100), num(14, 0, 100, 5500),
     num(15, 1, 20, 100), num(19, 1, 20, 100), num(21, 1, 10, 100)],
    # 2. Amortisation and financing
    [opc(1), num(2, 2, 6000, 600000), num(3, 1, 0.1, 30), num(4, 1, 0, 80),
     num(6, 1, 0, 125), num(8, 1, 0.1, 30), num(9, 3, 0.1, 25),
     num(10, 2, 0, 60000),
     opc(11), num(12, 2, 0, 300000), num(13, 1, 0.1, 30), num(14, 1, 0, 80),
     num(16, 1, 0, 125), num(18, 1, 0.1, 30), num(19, 3, 0.1, 25),
     num(20, 2, 0, 60000)],
    # 3. Staff, insurance and taxes
    [num(1, 2, 0, 150000), opc(2), num(3, 2, 0, 200), num(4, 0, 0, 366),
     num(6, 4, 0, 0.5), num(8, 2, 0, 273200), opc(9),
     num(10, 2, 0, 10000), num(11, 2, 0, 15000), num(12, 2, 0, 10000),
     num(13, 2, 0, 5000), num(14, 2, 0, 1500), num(15, 2, 0, 5000),
     num(16, 2, 0, 15000), num(17, 2, 0, 5000), num(18, 2, 0, 66500),
     opc(19),
     num(20, 2, 0, 1500), num(21, 2, 0, 1500), num(22, 2, 0, 2000),
     num(23, 2, 0, 2000), num(24, 2, 0, 1500), num(25, 2, 0, 6000),
     num(26, 2, 0, 6000), num(27, 2, 0, 30000), num(28, 2, 0, 50500)],
    # 4. Variable costs
    [num(1, 4, 0.3, 2), num(3, 4, 0, 2), num(4, 1, 0, 30), num(7, 1, 3, 80),
     num(8, 0, 0, 6), num(9, 2, 30, 2000), num(10, 0, 10000, 300000),
     num(11, 0, 0, 6), num(12, 2, 30, 2000), num(13, 0, 10000, 300000),
     num(14, 0, 0, 6), num(15, 2, 30, 2000), num(16, 0, 10000, 300000),
     num(17, 4, 0, 0.6), num(19, 2, 0, 30000)],
    # 5. Indirect costs
    [opc(1), num(2, 2, 0, 30000), num(3, 2, 0, 30000), num(4, 2, 0, 30000),
     num(5, 2, 0, 90000)],
    # 6. The price of a concrete service (five services)
    [f for b in (2, 8, 14, 20, 26)
     for f in (num(b, 2, 0, 60000), num(b + 1, 1, 0, 400000),
               num(b + 2, 2, 0, 5500))],
]

assert sum(len(b) for b in BLOQUES) == 91

# ---------------------------------------------------------------------------
# The figures of each category (2026 prices, euros, without VAT but diesel)
# ---------------------------------------------------------------------------

D = Decimal


def redondear(x, dec):
    q = D(1).scaleb(-dec)
    return D(x).quantize(q, rounding=ROUND_HALF_UP)


def categoria(c):
    """Returns {block: {index: value}} from the base figures."""
    km = D(c["km"])
    dieta = D(c["dieta"])
    dias = D(c["dias"])
    plus = D(c["plus_km"])
    total_dietas = redondear(dieta * dias, 2) + redondear(plus * km, 2)
    seguros = [D(x) for x in c["seguros"]]
    fiscales = [D(x) for x in c["fiscales"]]
    indirectos = [D(x) for x in c["indirectos"]]

    b1 = {1: c["descripcion"], 2: D(c["plazas"]), 3: D(c["longitud"]),
          4: D(c["ejes"]), 5: D(c["potencia"]), 6: D(c["mma"]),
          7: c["clase"], 8: "Servicio discrecional de viajeros",
          9: km, 10: D(c["pct_km_fact"]), 14: D(c["horas"]),
          15: D(c["pct_h_fact"]), 19: D(c["pct_km_viaj"]),
          21: D(c["ocupacion"])}
    b2 = {1: True, 2: D(c["precio"]), 3: D(c["vida"]), 4: D(c["residual"]),
          6: D("80"), 8: D("5"), 9: D("5.5"), 10: D(0),
          11: True, 12: D(c["equipos"]), 13: D("5"), 14: D("0"),
          16: D("50"), 18: D("3"), 19: D("6.25"), 20: D(0)}
    b3 = {1: D(c["sueldo"]), 2: True, 3: dieta, 4: dias, 6: plus,
          8: total_dietas, 9: True, 18: sum(seguros), 19: True,
          28: sum(fiscales)}
    b3.update({10 + k: v for k, v in enumerate(seguros)})
    b3.update({20 + k: v for k, v in enumerate(fiscales)})
    (nd, pd, dd), (nm, pm, dm), (na, pa, da) = c["neumaticos"]
    b4 = {1: D(c["gasoleo"]), 3: D(c["descuento"]), 4: D("21.0"),
          7: D(c["consumo"]),
          8: D(nd), 9: D(pd), 10: D(dd), 11: D(nm), 12: D(pm), 13: D(dm),
          14: D(na), 15: D(pa), 16: D(da),
          17: D(c["reparaciones"]), 19: D(c["peajes"])}
    b5 = {1: True, 2: indirectos[0], 3: indirectos[1], 4: indirectos[2],
          5: sum(indirectos)}
    b6 = {}
    servicios = c["servicios"] + [("0", "0", "0")] * (5 - len(c["servicios"]))
    for k, (coste, kms, horas) in enumerate(servicios):
        b = 2 + 6 * k
        b6[b], b6[b + 1], b6[b + 2] = D(coste), D(kms), D(horas)
    return {1: b1, 2: b2, 3: b3, 4: b4, 5: b5, 6: b6}


CATEGORIAS = [
    {
        "archivo": "Autocar Estandar mas 55 plazas.obs",
        "rango": (56, 200),
        "descripcion": "Autocar estándar de más de 55 plazas",
        "plazas": 61, "longitud": "15.0", "ejes": 3, "potencia": 480,
        "mma": 26000, "clase": "Clase III",
        "km": 125000, "pct_km_fact": "80.0", "horas": 1900,
        "pct_h_fact": "85.0", "pct_km_viaj": "85.0", "ocupacion": "55.0",
        "precio": "385000", "vida": "10.0", "residual": "15.0",
        "equipos": "12000",
        "sueldo": "39500", "dieta": "32.00", "dias": 200, "plus_km": "0.0200",
        # compulsory, third-party liability, passengers, legal defence,
        # driver's accident, fire, own damage, others
        "seguros": ["2350", "1450", "420", "95", "180", "290", "4600",
                    "180"],
        # permits, roadworthiness test, business tax, vehicle tax,
        # tachograph, coach station fees, passenger station fees, others
        "fiscales": ["45", "190", "420", "240", "75", "1500", "600",
                     "200"],
        "gasoleo": "1.4500", "descuento": "0.1000", "consumo": "34.5",
        "neumaticos": [(2, "485", 120000), (4, "465", 100000),
                       (2, "430", 140000)],
        "reparaciones": "0.1350", "peajes": "3800",
        "indirectos": ["8200", "3600", "1600"],
        "servicios": [("180", "450", "10"), ("350", "1250", "28"),
                      ("0", "95", "4.5")],
    },
    {
        "archivo": "Autocar Estandar 39 a 55 plazas.obs",
        "rango": (39, 55),
        "descripcion": "Autocar estándar de 39 a 55 plazas",
        "plazas": 55, "longitud": "12.9", "ejes": 2, "potencia": 430,
        "mma": 19500, "clase": "Clase III",
        "km": 110000, "pct_km_fact": "80.0", "horas": 1850,
        "pct_h_fact": "85.0", "pct_km_viaj": "85.0", "ocupacion": "60.0",
        "precio": "295000", "vida": "10.0", "residual": "15.0",
        "equipos": "9500",
        "sueldo": "39000", "dieta": "30.00", "dias": 195, "plus_km": "0.0200",
        "seguros": ["2100", "1250", "380", "90", "180", "240", "3800",
                    "150"],
        "fiscales": ["45", "180", "380", "220", "75", "1300", "500",
                     "180"],
        "gasoleo": "1.4500", "descuento": "0.0900", "consumo": "30.5",
        "neumaticos": [(2, "450", 110000), (4, "430", 95000),
                       (0, "400", 120000)],
        "reparaciones": "0.1150", "peajes": "3200",
        "indirectos": ["7500", "3200", "1400"],
        "servicios": [("150", "420", "9.5"), ("300", "1100", "26"),
                      ("0", "80", "4")],
    },
    {
        "archivo": "Autocar Estandar 26 a 38 plazas.obs",
        "rango": (26, 38),
        "descripcion": "Autocar estándar de 26 a 38 plazas",
        "plazas": 35, "longitud": "10.4", "ejes": 2, "potencia": 340,
        "mma": 16000, "clase": "Clase III",
        "km": 95000, "pct_km_fact": "78.0", "horas": 1800,
        "pct_h_fact": "83.0", "pct_km_viaj": "80.0", "ocupacion": "62.0",
        "precio": "218000", "vida": "10.0", "residual": "12.0",
        "equipos": "7000",
        "sueldo": "38000", "dieta": "28.00", "dias": 185, "plus_km": "0.0180",
        "seguros": ["1750", "1050", "260", "85", "180", "190", "2950",
                    "120"],
        "fiscales": ["45", "170", "320", "180", "75", "950", "300",
                     "150"],
        "gasoleo": "1.4500", "descuento": "0.0750", "consumo": "24.5",
        "neumaticos": [(2, "380", 100000), (4, "360", 90000),
                       (0, "340", 110000)],
        "reparaciones": "0.0950", "peajes": "2400",
        "indirectos": ["6500", "2600", "1200"],
        "servicios": [("120", "300", "7.5"), ("250", "850", "20")],
    },
    {
        "archivo": "Autocar Estandar 10 a 25 plazas.obs",
        "rango": (10, 25),
        "descripcion": "Autocar estándar de 10 a 25 plazas",
        "plazas": 22, "longitud": "8.2", "ejes": 2, "potencia": 190,
        "mma": 7500, "clase": "Clase B",
        "km": 80000, "pct_km_fact": "75.0", "horas": 1700,
        "pct_h_fact": "80.0", "pct_km_viaj": "80.0", "ocupacion": "65.0",
        "precio": "128000", "vida": "8.0", "residual": "10.0",
        "equipos": "4500",
        "sueldo": "36500", "dieta": "26.00", "dias": 175, "plus_km": "0.0150",
        "seguros": ["1300", "800", "160", "80", "180", "130", "2100",
                    "90"],
        "fiscales": ["45", "150", "260", "140", "75", "600", "150",
                     "120"],
        "gasoleo": "1.4500", "descuento": "0.0500", "consumo": "17.5",
        "neumaticos": [(2, "210", 90000), (4, "195", 80000),
                       (0, "190", 90000)],
        "reparaciones": "0.0750", "peajes": "1600",
        "indirectos": ["5000", "2000", "1000"],
        "servicios": [("90", "200", "6"), ("180", "600", "15.5")],
    },
]

# ---------------------------------------------------------------------------
# Writing
# ---------------------------------------------------------------------------


def item(valor):
    """An entry as the calculation file writes it."""
    if valor is None:
        return ""
    if isinstance(valor, bool):
        return "#TRUE#" if valor else "#FALSE#"
    if isinstance(valor, str):
        return '"' + valor.strip() + '"'
    texto = format(D(valor), "f")
    if "." in texto:
        texto = texto.rstrip("0").rstrip(".")
    return texto if texto not in ("", "-0") else "0"


def fecha(d):
    return "#" + d.strftime("%Y-%m-%d") + "#"


def lineas_columna(col):
    out = []
    for nb, campos in enumerate(BLOQUES, start=1):
        for campo in campos:
            out.append(item(col[nb].get(campo[0])))
    return out


def escribir(destino, cat):
    col = categoria(cat)
    lineas = (lineas_columna(col) + [fecha(FECHA)]
              + lineas_columna(col) + [fecha(FECHA)])
    datos = "".join(l + "\r\n" for l in lineas).encode("cp1252")
    with open(os.path.join(destino, cat["archivo"]), "wb") as f:
        f.write(datos)


# ---------------------------------------------------------------------------
# Checking (reads the file written, not the figures above)
# ---------------------------------------------------------------------------


def leer_item(linea):
    if linea == "":
        return None
    if linea in ("#TRUE#", "#FALSE#"):
        return linea == "#TRUE#"
    if len(linea) >= 2 and linea[0] == '"' and linea[-1] == '"':
        return linea[1:-1]
    return D(linea)


def longitud_mostrada(valor, dec):
    """Characters of the number written with thousands and decimals."""
    entero, _, frac = format(redondear(valor, max(dec, 0)), "f").partition(".")
    entero = entero.lstrip("-")
    n = len(entero) + (len(entero) - 1) // 3
    return n + (1 + dec if dec > 0 else 0)


def comprobar_lineas(ruta, error):
    """The file's 184 lines, ended by CR LF, with a date at 92 and 184; None
    when it has another number of lines."""
    with open(ruta, "rb") as f:
        datos = f.read()
    texto = datos.decode("cp1252")
    if not datos.endswith(b"\r\n"):
        error("la última línea no termina en CR LF")
    partes = texto.split("\r\n")
    if partes[-1] != "":
        error("texto después del último CR LF")
    lineas = partes[:-1]
    if len(lineas) != 184:
        error(f"{len(lineas)} líneas en vez de 184")
        return None
    if any("\r" in l or "\n" in l for l in lineas):
        error("saltos de línea sueltos (no CR LF)")
    for n in (92, 184):
        try:
            datetime.datetime.strptime(lineas[n - 1], "#%Y-%m-%d#")
        except ValueError:
            error(f"la línea {n} no es una fecha: {lineas[n - 1]!r}")
    return lineas


def comprobar_numero(v, linea, nb, i, dec, lo, hi, donde, error):
    """A number within its limits, decimals and box, written canonically."""
    if not isinstance(v, Decimal):
        error(f"{donde}: se esperaba un número, hay {linea!r}")
        return
    if not lo <= v <= hi:
        error(f"{donde}: {v} fuera de {lo}..{hi}")
    if v != redondear(v, dec):
        error(f"{donde}: {v} tiene más de {dec} decimales")
    if linea != item(v) or "," in linea:
        error(f"{donde}: notación no canónica {linea!r}")
    maxlen = LONGITUD[nb].get(i)
    if maxlen and longitud_mostrada(v, dec) > maxlen:
        error(f"{donde}: {v} no cabe en {maxlen} caracteres")


def leer_columna(lineas, inicio, error):
    """The entries of a column by block and index, each checked by its kind."""
    col = {}
    pos = inicio
    for nb, campos in enumerate(BLOQUES, start=1):
        col[nb] = {}
        for (i, tipo, dec, lo, hi) in campos:
            linea = lineas[pos]
            pos += 1
            donde = f"línea {pos} (bloque {nb}, entrada {i})"
            v = leer_item(linea)
            col[nb][i] = v
            if tipo == "opc":
                if v is not True:
                    error(f"{donde}: se esperaba #TRUE#, hay {linea!r}")
            elif tipo == "txt":
                if not isinstance(v, str):
                    error(f"{donde}: se esperaba un texto")
                elif not lo <= len(v) <= hi:
                    error(f"{donde}: longitud {len(v)} fuera de {lo}..{hi}")
            else:
                comprobar_numero(v, linea, nb, i, dec, lo, hi, donde, error)
    return col


def comprobar_columna(c, cat, error):
    """What the figures of a column must agree on."""
    b1, b2, b3, b4, b5, b6 = (c[k] for k in range(1, 7))
    if b1[1] != cat["descripcion"]:
        error(f"descripción {b1[1]!r} distinta de {cat['descripcion']!r}"
              " (¿codificación?)")
    lo, hi = cat["rango"]
    if not lo <= b1[2] <= hi:
        error(f"{b1[2]} plazas fuera de la categoría {lo}..{hi}")
    km = b1[9]
    total = redondear(b3[3] * b3[4], 2) + redondear(b3[6] * km, 2)
    if b3[8] != total:
        error(f"dietas y plus {b3[8]} != {total}")
    if b3[18] != sum(b3[i] for i in range(10, 18)):
        error("el total de seguros no es la suma de sus partidas")
    if b3[28] != sum(b3[i] for i in range(20, 28)):
        error("el total fiscal no es la suma de sus partidas")
    if b5[5] != b5[2] + b5[3] + b5[4]:
        error("el total de costes indirectos no es la suma")
    if b4[3] > D("0.6") * b4[1]:
        error("el descuento supera el 60 % del precio del carburante")
    for i in (8, 11, 14):
        if b4[i] % 2 != 0:
            error(f"número de neumáticos impar en la entrada {i}")
    km_fact = redondear(km * b1[10] / 100, 0)
    h_fact = redondear(b1[14] * b1[15] / 100, 0)
    for b in (2, 8, 14, 20, 26):
        if b6[b + 1] > km_fact:
            error(f"servicio {b}: km {b6[b + 1]} > facturados {km_fact}")
        if b6[b + 2] > h_fact:
            error(f"servicio {b}: horas {b6[b + 2]} > facturadas {h_fact}")


def comprobar(ruta, cat):
    errores = []

    def error(msg):
        errores.append(f"{os.path.basename(ruta)}: {msg}")

    lineas = comprobar_lineas(ruta, error)
    if lineas is None:
        return errores, None
    s, o = (leer_columna(lineas, inicio, error) for inicio in (0, 92))
    if lineas[:91] != lineas[92:183]:
        error("la columna del usuario no coincide con la de referencia")
    for c in (s, o):
        comprobar_columna(c, cat, error)
    return errores, s


# Fields that must grow (or not fall) with the size of the coach
ORDEN = [
    ("plazas", 1, 2, False), ("precio", 2, 2, False), ("potencia", 1, 5, False),
    ("consumo", 4, 7, False), ("seguros", 3, 18, False),
    ("fiscales", 3, 28, False), ("sueldo", 3, 1, True),
    ("reparaciones", 4, 17, False), ("neumático motriz", 4, 12, False),
    ("indirectos", 5, 5, False), ("km/año", 1, 9, True),
]


def main():
    raiz = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    destino = (sys.argv[1] if len(sys.argv) > 1
               else os.path.join(raiz, "datos", "Vededizaviro"))
    os.makedirs(destino, exist_ok=True)

    errores = []
    leidas = []
    for cat in CATEGORIAS:
        escribir(destino, cat)
        e, col = comprobar(os.path.join(destino, cat["archivo"]), cat)
        errores += e
        leidas.append(col)

    # CATEGORIAS runs from the largest to the smallest: each must cost at
    # least as much as the next
    if None not in leidas:
        for nombre, nb, i, admite_igual in ORDEN:
            for mayor, menor in zip(leidas, leidas[1:]):
                a, b = mayor[nb][i], menor[nb][i]
                if a < b or (a == b and not admite_igual):
                    errores.append(f"{nombre}: {a} no supera a {b}")

    for e in errores:
        print("ERROR", e)
    if errores:
        return 1

    print(f"{'Categoría':<40}{'Plazas':>7}{'Precio':>11}{'km/año':>9}"
          f"{'Gasóleo':>9}{'Consumo':>9}{'Sueldo':>10}{'Seguros':>10}")
    for cat, c in zip(CATEGORIAS, leidas):
        print(f"{cat['archivo']:<40}{c[1][2]:>7}{c[2][2]:>11}{c[1][9]:>9}"
              f"{c[4][1]:>9}{c[4][7]:>9}{c[3][1]:>10}{c[3][18]:>10}")
    print("Comprobaciones correctas.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
