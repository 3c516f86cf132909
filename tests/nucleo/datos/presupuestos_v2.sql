-- Over presupuestos_v1.sql: the same register as the second version of the
-- program left it, each quote's firm header holding its logo in base64.
-- One statement per line.
PRAGMA user_version=2;
ALTER TABLE presupuestos ADD COLUMN empresa TEXT NOT NULL DEFAULT '{}';
CREATE TABLE cambios(id INTEGER PRIMARY KEY, presupuesto INTEGER NOT NULL REFERENCES presupuestos(id) ON DELETE CASCADE, momento TEXT NOT NULL, estado TEXT NOT NULL);
CREATE INDEX cambios_presupuesto ON cambios(presupuesto);
CREATE INDEX presupuestos_cliente ON presupuestos(cliente_nombre);
UPDATE presupuestos SET empresa = '{"Correo":"info@soria.es","Direccion":"Calle Real 2","Logo":"iVBORw0KGgpsb2dvLWFudGlndW8=","Nif":"B12345674","Nombre":"Autocares Soria","Telefono":"975 000 000"}' WHERE id = 1;
UPDATE presupuestos SET empresa = '{"Correo":"","Direccion":"","Logo":"R0lGODlhAP8Qb3Rybw==","Nif":"","Nombre":"Autocares Duero","Telefono":""}' WHERE id = 2;
