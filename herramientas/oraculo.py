#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""An independent model of Pelmora's costs.

Reads a calculation (.clc or .obs: Windows-1252 text, CR LF, 184 lines),
works it out again as the program does when it opens one (reading, the
replay of every stored field through the recalculation, the results and the
price of the services) and writes both columns whole in the same JSON as
`pelmora-calc --json`.

It is written apart from the C++ code, to be compared with it
(herramientas/comparar_oraculo.sh).

Rules followed throughout:
  - a step that fails (a division by zero, a result that is not finite, a
    whole number beyond 32 bits, a rounding overflow, a text that is no
    number) leaves its target as it was and the next step goes on; the
    amortisation, financing and tyre amounts that cannot be rounded are 0;
  - an empty entry is 0 in arithmetic and comparisons; a true boolean is
    -1; a text holding a number is that number;
  - values are None (empty), bool, float, int (32-bit whole number) or str.

Usage:
    python3 herramientas/oraculo.py FILE           writes the JSON
    python3 herramientas/oraculo.py --comparar PELMORA-CALC FILE...
                                                   compares with the program
As a module: calcular(ruta) -> dict with "ColumnaS" and "ColumnaO".
"""

import datetime
import json
import math
import subprocess
import sys
from decimal import Decimal, Context, ROUND_DOWN
from multiprocessing import Pool

# ---------------------------------------------------------------------------
# The calculation's layout
# ---------------------------------------------------------------------------

SECCIONES = [
    ("Caracteristicas", 23),
    ("CostesFijos1", 20),
    ("CostesFijos2", 28),
    ("CostesVariables", 19),
    ("CostesIndirectos", 5),
    ("Resultados", 48),
    ("Servicio", 31),
]

# The fields stored in a file, by block and in file order.
LISTA_GRABADA = [
    ("Caracteristicas", [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 19, 21]),
    ("CostesFijos1", [1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13, 14, 16, 18, 19, 20]),
    ("CostesFijos2", [1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                      19, 20, 21, 22, 23, 24, 25, 26, 27, 28]),
    ("CostesVariables", [1, 3, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19]),
    ("CostesIndirectos", [1, 2, 3, 4, 5]),
    ("Servicio", [2, 3, 4, 8, 9, 10, 14, 15, 16, 20, 21, 22, 26, 27, 28]),
]

# The kind of each stored entry: an option holds #TRUE# or #FALSE#, a free
# text whatever it holds, any other entry a number or nothing. A line of
# another kind leaves the file damaged.
OPCIONES = {("CostesFijos1", 1), ("CostesFijos1", 11), ("CostesFijos2", 2),
            ("CostesFijos2", 9), ("CostesFijos2", 19), ("CostesIndirectos", 1)}
TEXTOS = {("Caracteristicas", 1), ("Caracteristicas", 7), ("Caracteristicas", 8)}

# Decimals of the derived fields (those that are rounded).
DEC = {
    "Caracteristicas": {11: 0, 12: 1, 13: 0, 16: 0, 17: 1, 18: 0, 20: 0, 22: 1, 23: 0},
    "CostesFijos1": {5: 2, 7: 2, 15: 2, 17: 2},
    "CostesFijos2": {5: 2, 7: 2, 8: 2, 18: 2, 28: 2},
    "CostesVariables": {2: 1, 5: 4, 6: 4, 18: 2},
    "CostesIndirectos": {5: 2},
    "Servicio": {1: 4, **{b + d: 2 for b in (2, 8, 14, 20, 26) for d in (3, 4, 5)}},
}

# Decimals of the results.
DEC_RES = {**{n: 2 for n in range(1, 19)}, **{n: 1 for n in range(21, 39)},
           39: 0, 40: 4, 41: 0, 42: 0, 43: 0, 44: 0, 45: 3, 46: 3, 47: 3, 48: 3}

# Limits of the fuel discount as a share of the price (field 2 of Costes
# Variables).
DESCUENTO_MIN = 0.0
DESCUENTO_MAX = 60.0
# Decimals of the discount in euros per litre (field 3).
DEC_DESCUENTO = 4

ENTERO_MIN = -2 ** 31
ENTERO_MAX = 2 ** 31 - 1
DECIMAL_MAX = Decimal(79228162514264337593543950335)
_CTX = Context(prec=80)


class Fallo(Exception):
    """A step of the calculation that cannot be made: it is skipped."""


# ---------------------------------------------------------------------------
# Arithmetic of variant values
# ---------------------------------------------------------------------------

def num(v):
    if v is None:
        return 0.0
    if isinstance(v, bool):
        return -1.0 if v else 0.0
    if isinstance(v, (int, float)):
        return float(v)
    # A text counts as a number only when it converts to one.
    try:
        x = float(v.strip())
    except ValueError:
        raise Fallo("texto donde se esperaba un número")
    if not math.isfinite(x):
        raise Fallo("texto donde se esperaba un número")
    return x


def _finito(x):
    if not math.isfinite(x):
        raise Fallo("resultado no finito")
    return x


def suma(a, b):
    return _finito(num(a) + num(b))


def resta(a, b):
    return _finito(num(a) - num(b))


def mult(a, b):
    return _finito(num(a) * num(b))


def divi(a, b):
    d = num(b)
    if d == 0.0:
        raise Fallo("división por cero")
    return _finito(num(a) / d)


def potencia(a, b):
    try:
        return _finito(math.pow(num(a), num(b)))
    except (ValueError, OverflowError, ZeroDivisionError) as e:
        raise Fallo(str(e))


def es_cero(v):
    # Empty or the number 0; a text that is no number does not count as zero.
    try:
        return num(v) == 0.0
    except Fallo:
        return False


def es_verdadero(v):
    return v is True


def redondear(x, n):
    """Half away from zero, after taking x*10^n to 15 significant digits."""
    x = num(x)
    p = math.pow(10.0, n)
    y = _finito(x * p)
    d = Decimal(format(y, ".15g"))
    if abs(d) > DECIMAL_MAX:
        raise Fallo("desbordamiento al redondear")
    s = (x > 0) - (x < 0)
    t = _CTX.add(d, Decimal(s) * Decimal("0.5"))
    t = t.to_integral_value(rounding=ROUND_DOWN, context=_CTX)
    if abs(t) > DECIMAL_MAX:
        raise Fallo("desbordamiento al redondear")
    return _finito(float(t) / p)


def redondear_coste(x, factor=1.0):
    """A cost amount to 2 decimals; 0 when it cannot be worked out (the
    amount the routine starts from)."""
    try:
        return redondear(mult(x, factor), 2)
    except Fallo:
        return 0.0


def entero(x):
    """A value already rounded, as a 32-bit whole number."""
    if x < ENTERO_MIN or x > ENTERO_MAX:
        raise Fallo("entero fuera de 32 bits")
    return int(x)


def paso(funcion):
    """Runs a step; when it fails, nothing happens."""
    try:
        funcion()
    except Fallo:
        pass


# ---------------------------------------------------------------------------
# Reading the file
# ---------------------------------------------------------------------------

class ErrorArchivo(Exception):
    pass


def leer_item(linea):
    t = linea.strip(" \t")
    if t == "":
        return None
    if t.startswith('"'):
        fin = t.find('"', 1)
        if fin < 0:
            raise ErrorArchivo("texto sin cerrar")
        return t[1:fin]
    u = t.upper()
    if u == "#TRUE#":
        return True
    if u == "#FALSE#":
        return False
    t = t.split(",", 1)[0].strip()
    if t == "":
        return None
    try:
        return float(t)
    except ValueError:
        raise ErrorArchivo("número ilegible: %r" % t)


def de_su_clase(seccion, i, v):
    if (seccion, i) in TEXTOS:
        return True
    if (seccion, i) in OPCIONES:
        return isinstance(v, bool)
    return v is None or (isinstance(v, float) and not isinstance(v, bool))


def leer_fecha(linea):
    t = linea.strip()
    if len(t) != 12 or t[0] != "#" or t[-1] != "#":
        raise ErrorArchivo("fecha ilegible: %r" % t)
    try:
        datetime.date.fromisoformat(t[1:-1])
    except ValueError:
        raise ErrorArchivo("fecha ilegible: %r" % t)
    return t[1:-1]


def columna_vacia():
    col = {nombre: [None] * (n + 1) for nombre, n in SECCIONES}
    col["Fecha"] = None
    # A calculation starts from the minimums; of the entries a file does not
    # hold, only the discount percentage has one (0).
    col["CostesVariables"][2] = 0.0
    return col


def leer_archivo(ruta):
    with open(ruta, "rb") as f:
        datos = f.read().decode("cp1252", errors="replace")
    lineas = datos.split("\r\n")
    if len(lineas) < 184:
        raise ErrorArchivo("archivo corto")
    columnas = []
    pos = 0
    for _ in range(2):
        col = columna_vacia()
        for seccion, lista in LISTA_GRABADA:
            for i in lista:
                v = leer_item(lineas[pos])
                if not de_su_clase(seccion, i, v):
                    raise ErrorArchivo("línea %d de otra clase: %r" % (pos + 1, v))
                col[seccion][i] = v
                pos += 1
        col["Fecha"] = leer_fecha(lineas[pos])
        pos += 1
        columnas.append(col)
    return columnas


# ---------------------------------------------------------------------------
# The calculation's routines
# ---------------------------------------------------------------------------

class Calculo:
    def __init__(self, col_s, col_o):
        self.col = {"S": col_s, "O": col_o}

    # -- formulas ----------------------------------------------------------

    @staticmethod
    def repartir_porcentaje(V, sec, a, b, c, d, e):
        def p1():
            V[c] = entero(redondear(divi(mult(V[a], V[b]), 100), DEC[sec][c]))
        paso(p1)
        def p2():
            V[d] = resta(100, V[b])
        paso(p2)
        def p3():
            V[e] = resta(V[a], V[c])
        paso(p3)

    @staticmethod
    def calcular_viajeros(V):
        s, k, p, q, o, w, z = 2, 9, 19, 20, 21, 22, 23
        def p1():
            V[q] = entero(redondear(divi(mult(V[k], V[p]), 100), 0))
        paso(p1)
        def p2():
            V[w] = redondear(divi(mult(resta(V[s], 1), V[o]), 100), 1)
        paso(p2)
        def p3():
            f1 = divi(mult(V[k], V[p]), 100)
            f2 = divi(mult(resta(V[s], 1), V[o]), 100)
            V[z] = entero(redondear(mult(f1, f2), 0))
        paso(p3)

    @staticmethod
    def aplicar_porcentaje(V, sec, a, b, r):
        def p1():
            V[r] = redondear(divi(mult(V[a], V[b]), 100), DEC[sec][r])
        paso(p1)

    @staticmethod
    def calcular_dietas(V):
        def p1():
            V[5] = redondear(mult(V[3], V[4]), 2)
        paso(p1)
        def p2():
            V[8] = suma(V[7], V[5])
        paso(p2)

    @staticmethod
    def calcular_plus_actividad(R, km):
        V = R["CostesFijos2"]
        def p1():
            V[7] = redondear(mult(V[6], km), 2)
        paso(p1)
        def p2():
            V[8] = suma(V[5], V[7])
        paso(p2)

    @staticmethod
    def sumar_campos(V, t, a, b, lista):
        def p1():
            V[t] = suma(V[a], V[b])
        paso(p1)
        for i in lista:
            def p2(i=i):
                V[t] = suma(V[t], V[i])
            paso(p2)

    @staticmethod
    def calcular_carburante(V):
        p, d, r, v, a, n = 1, 2, 3, 4, 5, 6
        def p1():
            if not es_cero(V[p]):
                V[d] = redondear(divi(mult(V[r], 100), V[p]), 1)
            else:
                V[d] = 0
        paso(p1)
        def p3():
            V[n] = divi(resta(V[p], V[r]), suma(1, divi(V[v], 100)))
        paso(p3)
        def p5():
            V[a] = redondear(resta(resta(V[p], V[r]), V[n]), 4)
        paso(p5)

    @staticmethod
    def regla_descuento(V):
        # A discount outside its range (as a share of the new price) falls to
        # the minimum. Each bound of the range is rounded to the discount's 4
        # decimals before comparing, as the check of a typed discount does.
        def p1():
            precio, desc = num(V[1]), num(V[3])
            maximo = redondear(divi(mult(DESCUENTO_MAX, precio), 100), DEC_DESCUENTO)
            minimo = redondear(divi(mult(DESCUENTO_MIN, precio), 100), DEC_DESCUENTO)
            fuera = desc > maximo
            if not fuera and DESCUENTO_MIN > 0:
                fuera = desc < minimo
            if fuera:
                V[3] = divi(mult(V[1], DESCUENTO_MIN), 100)
        paso(p1)

    @staticmethod
    def calcular_reparaciones(R, km):
        V = R["CostesVariables"]
        def p1():
            V[18] = redondear(mult(V[17], km), 2)
        paso(p1)

    @staticmethod
    def calcular_servicio(R, b):
        S = R["Servicio"]
        res = R["Resultados"]
        c, k, h, m, x, y = b, b + 1, b + 2, b + 3, b + 4, b + 5
        c2, c3, c4, c5 = res[45], res[46], res[47], res[48]
        def p1():
            if num(S[k]) > 0 and num(S[h]) > 0:
                S[m] = redondear(suma(suma(S[c], mult(S[k], c2)), mult(S[h], c3)), 2)
            else:
                S[m] = None
        paso(p1)
        def p2():
            if num(S[k]) > 0:
                S[x] = redondear(suma(S[c], mult(S[k], c4)), 2)
            else:
                S[x] = None
        paso(p2)
        def p3():
            if num(S[h]) > 0:
                S[y] = redondear(suma(S[c], mult(S[h], c5)), 2)
            else:
                S[y] = None
        paso(p3)

    # -- recalculation of a field ------------------------------------------

    def recalcular(self, seccion, codigo, i):
        R = self.col[codigo]
        V = R[seccion]
        if seccion == "Caracteristicas":
            if i == 2 or i == 19 or i == 21:
                self.calcular_viajeros(V)
            elif i == 9:
                self.repartir_porcentaje(V, seccion, 9, 10, 11, 12, 13)
                self.calcular_viajeros(V)
                if es_verdadero(R["CostesFijos2"][2]):
                    self.calcular_plus_actividad(R, V[9])
                self.calcular_reparaciones(R, V[9])
            elif i == 10:
                self.repartir_porcentaje(V, seccion, 9, 10, 11, 12, 13)
            elif i in (14, 15):
                self.repartir_porcentaje(V, seccion, 14, 15, 16, 17, 18)
        elif seccion == "CostesFijos1":
            if i == 2:
                self.aplicar_porcentaje(V, seccion, 2, 4, 5)
                self.aplicar_porcentaje(V, seccion, 6, 2, 7)
            elif i == 4:
                self.aplicar_porcentaje(V, seccion, 2, 4, 5)
            elif i == 6:
                self.aplicar_porcentaje(V, seccion, 6, 2, 7)
            elif i == 12:
                self.aplicar_porcentaje(V, seccion, 12, 14, 15)
                self.aplicar_porcentaje(V, seccion, 16, 12, 17)
            elif i == 14:
                self.aplicar_porcentaje(V, seccion, 12, 14, 15)
            elif i == 16:
                self.aplicar_porcentaje(V, seccion, 16, 12, 17)
        elif seccion == "CostesFijos2":
            if i in (3, 4):
                if es_verdadero(V[2]):
                    self.calcular_dietas(V)
            elif i == 6:
                if es_verdadero(V[2]):
                    self.calcular_plus_actividad(R, R["Caracteristicas"][9])
            elif 10 <= i <= 17:
                if es_verdadero(V[9]):
                    self.sumar_campos(V, 18, 10, 11, [12, 13, 14, 15, 16, 17])
            elif 20 <= i <= 27:
                if es_verdadero(V[19]):
                    self.sumar_campos(V, 28, 20, 21, [22, 23, 24, 25, 26, 27])
        elif seccion == "CostesVariables":
            if i == 1:
                self.regla_descuento(V)
                self.calcular_carburante(V)
            elif i in (3, 4):
                self.calcular_carburante(V)
            elif i == 17:
                self.calcular_reparaciones(R, R["Caracteristicas"][9])
        elif seccion == "CostesIndirectos":
            if i in (2, 3, 4):
                if es_verdadero(V[1]):
                    self.sumar_campos(V, 5, 2, 3, [4])
            elif i == 5:
                self.comentario("S")
        elif seccion == "Servicio":
            if 2 <= i <= 31:
                b = 2 + 6 * ((i - 2) // 6)
                if i - b <= 2:
                    self.actualizar()
                    self.calcular_servicio(self.col["S"], b)

    def comentario(self, codigo):
        # The indirect costs' comment only writes a label (after bringing
        # the results up to date): nothing the JSON holds.
        estado = self.col[codigo]["CostesIndirectos"][1]
        if estado is not None and estado is not False and num(estado) != 0:
            return
        self.actualizar()

    # -- option buttons ----------------------------------------------------

    def forma_adquisicion(self, codigo, estado, boton):
        self.col[codigo]["CostesFijos1"][estado] = (boton == 1)

    def grupo_personal(self, codigo, estado, boton):
        V = self.col[codigo]["CostesFijos2"]
        if codigo != "S":
            return  # the reference column only blanks texts
        if boton == 1:
            V[estado] = True
            if estado == 2:
                items = [3, 4, 6] if not es_cero(V[3]) else [3, 6]
            elif estado == 9:
                items = list(range(10, 18))
            else:
                items = list(range(20, 28))
            for i in items:
                self.recalcular("CostesFijos2", "S", i)
        else:
            V[estado] = False

    def grupo_indirectos(self, codigo, boton):
        V = self.col[codigo]["CostesIndirectos"]
        if codigo == "S":
            if boton == 1:
                V[1] = True
                for i in (2, 3, 4):
                    self.recalcular("CostesIndirectos", "S", i)
            else:
                V[1] = False
                self.comentario("S")
        else:
            if boton == 2:
                self.comentario("O")

    # -- results -----------------------------------------------------------

    def actualizar(self):
        for codigo in ("S", "O"):
            self.calcular_resultados(self.col[codigo])

    @staticmethod
    def coste_amortizacion(R):
        F, C = R["CostesFijos1"], R["CostesVariables"]
        a = [0.0]
        def coche():
            if es_verdadero(F[1]):
                if num(F[2]) > 0 and num(F[3]) > 0:
                    x = [0.0]
                    def px():
                        t = suma(suma(mult(C[8], C[9]), mult(C[11], C[12])),
                                 mult(C[14], C[15]))
                        x[0] = divi(resta(resta(F[2], F[5]), t), F[3])
                    paso(px)
                    if x[0] > 0:
                        a[0] = suma(a[0], x[0])
            else:
                a[0] = suma(a[0], F[10])
        paso(coche)
        def equipo():
            if es_verdadero(F[11]):
                if num(F[12]) > 0 and num(F[13]) > 0:
                    y = [0.0]
                    def py():
                        y[0] = divi(resta(F[12], F[15]), F[13])
                    paso(py)
                    if y[0] > 0:
                        a[0] = suma(a[0], y[0])
            else:
                a[0] = suma(a[0], F[20])
        paso(equipo)
        return redondear_coste(a[0])

    @staticmethod
    def coste_financiacion(R):
        F = R["CostesFijos1"]
        f = [0.0]
        for flag, capital, vida, interes, periodo in ((1, 7, 3, 9, 8),
                                                      (11, 17, 13, 19, 18)):
            def parte():
                if es_verdadero(F[flag]) and num(F[capital]) > 0 and num(F[vida]) > 0:
                    i = divi(F[interes], 100)
                    q = potencia(suma(1, i), F[periodo])
                    cuota = divi(mult(mult(F[capital], i), q), resta(q, 1))
                    f[0] = suma(f[0], divi(resta(mult(cuota, F[periodo]), F[capital]),
                                           F[vida]))
            paso(parte)
        return redondear_coste(f[0])

    @staticmethod
    def coste_neumaticos(R):
        C, km = R["CostesVariables"], R["Caracteristicas"][9]
        w = [0.0]
        def suma_km():
            total = 0.0
            for n, precio, vida in ((8, 9, 10), (11, 12, 13), (14, 15, 16)):
                if es_cero(C[n]):
                    continue
                total = suma(total, divi(mult(C[n], C[precio]), C[vida]))
            w[0] = total
        paso(suma_km)
        return redondear_coste(w[0], km)

    def calcular_resultados(self, R):
        s = R["Resultados"]
        F2, C, I, K = (R["CostesFijos2"], R["CostesVariables"],
                       R["CostesIndirectos"], R["Caracteristicas"])

        def asignar(n, f):
            def p():
                s[n] = f()
            paso(p)

        asignar(1, lambda: self.coste_amortizacion(R))
        asignar(2, lambda: self.coste_financiacion(R))
        s[3], s[4], s[5], s[6] = F2[1], F2[8], F2[18], F2[28]
        asignar(7, lambda: redondear(divi(mult(mult(C[6], C[7]), K[9]), 100), 2))
        asignar(8, lambda: self.coste_neumaticos(R))
        s[9], s[10] = C[18], C[19]
        s[11], s[12], s[13] = I[2], I[3], I[4]
        asignar(14, lambda: suma(suma(suma(suma(suma(s[1], s[2]), s[3]), s[4]),
                                      s[5]), s[6]))
        asignar(15, lambda: suma(suma(suma(s[7], s[8]), s[9]), s[10]))
        asignar(16, lambda: suma(s[14], s[15]))
        s[17] = I[5]
        asignar(18, lambda: suma(s[16], s[17]))
        for t, n in ((38, 18), (36, 16), (34, 14), (21, 1), (22, 2), (23, 3),
                     (24, 4), (25, 5), (26, 6), (35, 15), (27, 7), (28, 8),
                     (29, 9), (30, 10), (37, 17), (31, 11), (32, 12), (33, 13)):
            asignar(t, lambda t=t, n=n: redondear(divi(mult(s[n], 100), s[18]),
                                                  DEC_RES[t]))
        s[39] = K[23]
        if es_cero(s[39]):
            s[39] = None
            s[40] = None
        else:
            asignar(40, lambda: redondear(divi(s[18], s[39]), 4))
        s[41], s[42], s[43], s[44] = K[9], K[11], K[14], K[16]
        if es_cero(s[42]):
            s[42] = s[45] = s[47] = None
        else:
            asignar(45, lambda: redondear(divi(s[15], s[42]), 3))
            asignar(47, lambda: redondear(divi(s[18], s[42]), 3))
        if es_cero(s[44]):
            s[44] = s[46] = s[48] = None
        else:
            asignar(46, lambda: redondear(divi(suma(s[14], s[17]), s[44]), 3))
            asignar(48, lambda: redondear(divi(s[18], s[44]), 3))

    # -- service -----------------------------------------------------------

    def revisar(self):
        R = self.col["S"]
        S, res, K = R["Servicio"], R["Resultados"], R["Caracteristicas"]
        def c1():
            if es_cero(res[40]):
                S[1] = None
            else:
                S[1] = redondear(res[40], 4)
        paso(c1)
        for lista, total in (((3, 9, 15, 21, 27), 11), ((4, 10, 16, 22, 28), 16)):
            for i in lista:
                def p(i=i):
                    if num(S[i]) > num(K[total]):
                        S[i] = 0
                paso(p)
        for b in (2, 8, 14, 20, 26):
            self.calcular_servicio(R, b)

    # -- a whole load ------------------------------------------------------

    def mostrar(self):
        lista = dict(LISTA_GRABADA)
        def replay(seccion, i, en_blanco):
            for codigo in ("S", "O"):
                if not en_blanco(self.col[codigo][seccion], i):
                    self.recalcular(seccion, codigo, i)

        nunca = lambda V, i: False
        for i in lista["Caracteristicas"]:
            replay("Caracteristicas", i, nunca)

        def blanco_f1(V, i):
            return ((i in (8, 9) and es_cero(V[6])) or
                    (i in (13, 14, 16, 18, 19) and es_cero(V[12])) or
                    (i in (18, 19) and es_cero(V[16])))
        for i in lista["CostesFijos1"]:
            if i not in (1, 11):
                replay("CostesFijos1", i, blanco_f1)
        for codigo in ("S", "O"):
            F = self.col[codigo]["CostesFijos1"]
            for estado in (1, 11):
                self.forma_adquisicion(codigo, estado, 1 if es_verdadero(F[estado]) else 2)

        blanco_f2 = lambda V, i: i == 4 and es_cero(V[3])
        for i in lista["CostesFijos2"]:
            if i not in (2, 9, 19):
                replay("CostesFijos2", i, blanco_f2)
        for codigo in ("S", "O"):
            F = self.col[codigo]["CostesFijos2"]
            for estado in (2, 9, 19):
                self.grupo_personal(codigo, estado, 1 if es_verdadero(F[estado]) else 2)

        def blanco_v(V, i):
            return ((i in (9, 10) and es_cero(V[8])) or
                    (i in (12, 13) and es_cero(V[11])) or
                    (i in (15, 16) and es_cero(V[14])))
        for i in lista["CostesVariables"]:
            replay("CostesVariables", i, blanco_v)

        for i in lista["CostesIndirectos"]:
            if i != 1:
                replay("CostesIndirectos", i, nunca)
        for codigo in ("S", "O"):
            estado = self.col[codigo]["CostesIndirectos"][1]
            self.grupo_indirectos(codigo, 1 if es_verdadero(estado) else 2)

        self.actualizar()
        for i in lista["Servicio"]:
            self.recalcular("Servicio", "S", i)
        self.revisar()


def calcular(ruta):
    col_s, col_o = leer_archivo(ruta)
    calc = Calculo(col_s, col_o)
    calc.mostrar()
    salida = {}
    for nombre, col in (("ColumnaS", col_s), ("ColumnaO", col_o)):
        salida[nombre] = {sec: col[sec][1:] for sec, _ in SECCIONES}
        salida[nombre]["Fecha"] = col["Fecha"]
    return salida


# ---------------------------------------------------------------------------
# Comparison with pelmora-calc
# ---------------------------------------------------------------------------

def _igual(a, b):
    if isinstance(a, bool) or isinstance(b, bool):
        return type(a) is type(b) and a == b
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        return float(a) == float(b)
    return type(a) is type(b) and a == b


def diferencias(programa, oraculo):
    """A list of (column, section, index, the program's value, the oracle's)."""
    lista = []
    for col in ("ColumnaS", "ColumnaO"):
        for sec, n in SECCIONES:
            a = programa.get(col, {}).get(sec)
            b = oraculo[col][sec]
            if not isinstance(a, list) or len(a) != n:
                lista.append((col, sec, 0, a, b))
                continue
            for i in range(n):
                if not _igual(a[i], b[i]):
                    lista.append((col, sec, i + 1, a[i], b[i]))
        if programa.get(col, {}).get("Fecha") != oraculo[col]["Fecha"]:
            lista.append((col, "Fecha", 0, programa.get(col, {}).get("Fecha"),
                          oraculo[col]["Fecha"]))
    return lista


def comparar_archivo(args):
    calc, ruta = args
    proc = subprocess.run([calc, "--json", ruta], capture_output=True)
    try:
        esperado = calcular(ruta)
    except (OSError, ErrorArchivo) as e:
        esperado = None
        motivo = str(e)
    if proc.returncode != 0 or esperado is None:
        if proc.returncode != 0 and esperado is None:
            return ruta, []
        return ruta, [("", "lectura", 0, proc.returncode,
                       "error: " + motivo if esperado is None else "leído")]
    return ruta, diferencias(json.loads(proc.stdout.decode("utf-8")), esperado)


def comparar(calc, rutas, detalle=3):
    """Compares each file; groups the differences by (section, index)."""
    clases = {}
    con_dif = 0
    with Pool(2) as pool:
        for ruta, difs in pool.imap(comparar_archivo, [(calc, r) for r in rutas], 8):
            if difs:
                con_dif += 1
            vistos = set()
            for col, sec, i, a, b in difs:
                clave = (sec, i)
                if clave in vistos:
                    continue
                vistos.add(clave)
                clases.setdefault(clave, []).append((ruta, col, a, b))
    print("%d archivos comparados, %d con diferencias" % (len(rutas), con_dif))
    for (sec, i), casos in sorted(clases.items(), key=lambda c: -len(c[1])):
        print("\n%s(%d): %d archivos" % (sec, i, len(casos)))
        for ruta, col, a, b in casos[:detalle]:
            print("  %s %s  programa=%r  oráculo=%r" % (ruta, col, a, b))
    return 1 if con_dif else 0


def main(argv):
    if len(argv) >= 3 and argv[1] == "--comparar":
        return comparar(argv[2], argv[3:])
    if len(argv) != 2:
        sys.stderr.write("Uso: oraculo.py ARCHIVO\n"
                         "     oraculo.py --comparar PELMORA-CALC ARCHIVO...\n")
        return 64
    try:
        datos = calcular(argv[1])
    except (OSError, ErrorArchivo) as e:
        sys.stderr.write("%s\n" % e)
        return 2
    json.dump(datos, sys.stdout, ensure_ascii=False, indent=1)
    sys.stdout.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
