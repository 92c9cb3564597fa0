-- The empty data file laid beside the program. Ids are never reused (AUTOINCREMENT), so a
-- stale row on a list can never address a newer record. No UNIQUE constraints: products
-- may share a barcode and customers a name. Time stamps are local time as
-- YYYY-MM-DD HH:MM:SS text, filled by the database at insert.
CREATE TABLE urunler (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    barkod TEXT,
    urunadi TEXT,
    fiyat REAL,
    stok INTEGER DEFAULT 0,
    kayittarihi TEXT DEFAULT (datetime('now','localtime'))
);

CREATE TABLE musteriler (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    musteriadi TEXT,
    kayittarihi TEXT DEFAULT (datetime('now','localtime'))
);

CREATE TABLE odemeler (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    barkod TEXT,
    urunadi TEXT,
    adet INTEGER,
    fiyat REAL,
    odemetarihi TEXT DEFAULT (datetime('now','localtime'))
);

CREATE TABLE veresiyeler (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    musteriid INTEGER,
    musteriadi TEXT,
    barkod TEXT,
    urunadi TEXT,
    adet INTEGER,
    fiyat REAL,
    kayittarihi TEXT DEFAULT (datetime('now','localtime')),
    odendimi INTEGER DEFAULT 0,
    odemetarihi DATETIME
);

-- Lookups run on every scan and every report. Not on urunler(urunadi): the picker's
-- LIKE '%...%' search ordered by name becomes much slower when SQLite walks that index.
CREATE INDEX urunler_barkod ON urunler(barkod);
CREATE INDEX musteriler_musteriadi ON musteriler(musteriadi);
CREATE INDEX odemeler_odemetarihi ON odemeler(odemetarihi);
-- The top selling ranking sums the cash sales of a period by barcode: this index holds every
-- column it reads, in barcode order, so the sums need neither the table nor a sort of the
-- sale rows.
CREATE INDEX odemeler_barkod_toplam ON odemeler(barkod, odemetarihi, adet, fiyat, urunadi);
CREATE INDEX veresiyeler_kayittarihi ON veresiyeler(kayittarihi);
CREATE INDEX veresiyeler_musteri_odendi ON veresiyeler(musteriadi, odendimi);
