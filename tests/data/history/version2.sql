-- A load history as Fen-drel wrote it at schema version 2, before truing sessions: two loads,
-- a string with shot details linked to its group, a group, a string without a temperature.
-- Made by the program and dumped with the sqlite3 shell's .dump.
PRAGMA foreign_keys=OFF;
BEGIN TRANSACTION;
CREATE TABLE loads (
    id INTEGER PRIMARY KEY,
    description TEXT NOT NULL UNIQUE,
    string_count INTEGER NOT NULL DEFAULT 0,
    group_count INTEGER NOT NULL DEFAULT 0,
    last_date TEXT,
    caliber TEXT,
    bullet_weight_gr REAL,
    bc REAL,
    charge_gr REAL
);
INSERT INTO loads VALUES(1,'Load A',1,1,'2024-05-12','.308 Winchester',168.0,0.46200000000000002176,43.0);
INSERT INTO loads VALUES(2,'Load B é',1,0,'2024-06-01','.308 Winchester',168.0,0.46200000000000002176,43.499999999999999999);
CREATE TABLE velocity_strings (
    id INTEGER PRIMARY KEY,
    load_id INTEGER NOT NULL REFERENCES loads(id) ON DELETE CASCADE,
    date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    temperature_f REAL CHECK (temperature_f BETWEEN -100 AND 200),
    note TEXT NOT NULL DEFAULT '',
    caliber TEXT NOT NULL,
    bullet_weight_gr REAL NOT NULL CHECK (bullet_weight_gr BETWEEN 0 AND 1e6),
    bc REAL NOT NULL CHECK (bc BETWEEN 0 AND 1e6),
    charge_gr REAL NOT NULL CHECK (charge_gr BETWEEN 0 AND 1e6)
, group_id INTEGER
    REFERENCES paper_groups(id) ON DELETE SET NULL);
INSERT INTO velocity_strings VALUES(1,1,'2024-05-10',71.5,'Calm, 71 °F','.308 Winchester',168.0,0.46200000000000002176,42.5,1);
INSERT INTO velocity_strings VALUES(2,2,'2024-06-01',NULL,'','.308 Winchester',168.0,0.46200000000000002176,43.499999999999999999,NULL);
CREATE TABLE string_shots (
    string_id INTEGER NOT NULL REFERENCES velocity_strings(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    fps REAL NOT NULL CHECK (fps > 0 AND fps <= 20000), time TEXT CHECK (time IS NULL OR
    (length(time) = 8 AND time GLOB '[0-2][0-9]:[0-5][0-9]:[0-5][0-9]')), clean_bore INTEGER NOT NULL DEFAULT 0
    CHECK (clean_bore IN (0, 1)), cold_bore INTEGER NOT NULL DEFAULT 0
    CHECK (cold_bore IN (0, 1)), note TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (string_id, number)
) WITHOUT ROWID;
INSERT INTO string_shots VALUES(1,1,2650.5,'09:15:02',1,1,'first');
INSERT INTO string_shots VALUES(1,2,2661.2500000000000001,'09:15:40',0,0,'');
INSERT INTO string_shots VALUES(1,3,2655.0,NULL,0,0,'');
INSERT INTO string_shots VALUES(2,1,2702.0,NULL,0,0,'');
CREATE TABLE paper_groups (
    id INTEGER PRIMARY KEY,
    load_id INTEGER NOT NULL REFERENCES loads(id) ON DELETE CASCADE,
    date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    distance_yd REAL NOT NULL CHECK (distance_yd > 0 AND distance_yd <= 10000),
    caliber_in REAL NOT NULL CHECK (caliber_in BETWEEN 0 AND 1e6),
    mean_radius_in REAL NOT NULL CHECK (mean_radius_in BETWEEN 0 AND 1e6),
    mean_spread_in REAL NOT NULL CHECK (mean_spread_in BETWEEN 0 AND 1e6),
    extreme_spread_in REAL NOT NULL CHECK (extreme_spread_in BETWEEN 0 AND 1e6),
    median_spread_in REAL NOT NULL CHECK (median_spread_in BETWEEN 0 AND 1e6),
    note TEXT NOT NULL DEFAULT '',
    caliber TEXT NOT NULL,
    bullet_weight_gr REAL NOT NULL CHECK (bullet_weight_gr BETWEEN 0 AND 1e6),
    bc REAL NOT NULL CHECK (bc BETWEEN 0 AND 1e6),
    charge_gr REAL NOT NULL CHECK (charge_gr BETWEEN 0 AND 1e6)
);
INSERT INTO paper_groups VALUES(1,1,'2024-05-12',100.0,0.307999999999999996,0.9000000000000000222,1.1000000000000000888,2.75,1.0500000000000000444,'Wind 5 mph','.308 Winchester',168.0,0.46200000000000002176,43.0);
CREATE TABLE group_shots (
    group_id INTEGER NOT NULL REFERENCES paper_groups(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    x_in REAL NOT NULL CHECK (x_in BETWEEN -1e6 AND 1e6),
    y_in REAL NOT NULL CHECK (y_in BETWEEN -1e6 AND 1e6),
    PRIMARY KEY (group_id, number)
) WITHOUT ROWID;
INSERT INTO group_shots VALUES(1,1,0.25,-0.5);
INSERT INTO group_shots VALUES(1,2,1.0,2.0);
INSERT INTO group_shots VALUES(1,3,-0.75,0.125);
CREATE INDEX strings_of_load ON velocity_strings (load_id, date, id);
CREATE INDEX groups_of_load ON paper_groups (load_id, date, id);
CREATE TRIGGER velocity_strings_added AFTER INSERT ON velocity_strings BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = NEW.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = NEW.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = NEW.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = NEW.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = NEW.load_id; END;
CREATE TRIGGER velocity_strings_changed AFTER UPDATE ON velocity_strings BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = NEW.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = NEW.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = NEW.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = NEW.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = NEW.load_id; 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = OLD.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = OLD.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = OLD.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = OLD.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = OLD.load_id; END;
CREATE TRIGGER velocity_strings_removed AFTER DELETE ON velocity_strings BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = OLD.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = OLD.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = OLD.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = OLD.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = OLD.load_id; END;
CREATE TRIGGER paper_groups_added AFTER INSERT ON paper_groups BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = NEW.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = NEW.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = NEW.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = NEW.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = NEW.load_id; END;
CREATE TRIGGER paper_groups_changed AFTER UPDATE ON paper_groups BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = NEW.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = NEW.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = NEW.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = NEW.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = NEW.load_id; 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = OLD.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = OLD.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = OLD.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = OLD.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = OLD.load_id; END;
CREATE TRIGGER paper_groups_removed AFTER DELETE ON paper_groups BEGIN 
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = OLD.load_id),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = OLD.load_id),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = OLD.load_id
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = OLD.load_id)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = OLD.load_id; END;
CREATE INDEX strings_of_date ON velocity_strings (date);
CREATE INDEX strings_of_group ON velocity_strings (group_id);
PRAGMA user_version = 2;
PRAGMA application_id = 1180978248;
COMMIT;
