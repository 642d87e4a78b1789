"""Tests of the Python module on the C library (run from ctest, which names the library)."""

import os
import pathlib
import sys
import threading
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vesk  # noqa: E402

BEISPIELE = pathlib.Path(os.environ.get(
    "VESK_BEISPIELE", pathlib.Path(__file__).resolve().parent.parent / "examples"))


class ImBeispielOrdner(unittest.TestCase):
    """Runs in examples/, whose definition files name their value-set file relative to it."""

    def setUp(self):
        self.vorher = os.getcwd()
        os.chdir(BEISPIELE)
        self.konfiguration = vesk.Konfiguration("plausi.ini")
        self.nachrichten = sorted(pathlib.Path("nachrichten").glob("*.dat"))

    def tearDown(self):
        self.konfiguration.schliessen()
        os.chdir(self.vorher)


class Pruefen(ImBeispielOrdner):
    def test_findings_carry_every_field_of_the_json_report(self):
        self.assertEqual(len(self.nachrichten), 6)
        for pfad in self.nachrichten:
            with self.subTest(pfad=str(pfad)):
                ergebnis = self.konfiguration.pruefe(pfad)
                objekt = ergebnis.als_dict()
                self.assertEqual(objekt["nachricht"], str(pfad))
                self.assertEqual(objekt["ergebnis"], ["ok", "fehler"][ergebnis.exit_status])
                self.assertEqual(objekt["nachrichtentyp"], ergebnis.nachrichtentyp)
                self.assertEqual(len(objekt["fehler"]), len(ergebnis.fehler))
                for fehler, erwartet in zip(ergebnis.fehler, objekt["fehler"]):
                    gefunden = {k: v for k, v in vars(fehler).items() if v is not None}
                    if "wert" in gefunden:
                        # JSON shows each byte as the character of the same code.
                        gefunden["wert"] = gefunden["wert"].decode("latin-1")
                    self.assertEqual(gefunden, erwartet)

    def test_bytes_in_any_form_check_like_the_file(self):
        pfad = pathlib.Path("nachrichten/schadenmeldung_feldfehler.dat")
        roh = pfad.read_bytes()
        erwartet = self.konfiguration.pruefe(str(pfad))
        self.assertEqual(erwartet.exit_status, 1)
        self.assertEqual(erwartet.nachrichtentyp, "Schadenmeldung")
        self.assertEqual([f.feldname for f in erwartet.fehler], ["Schadendatum", "Schadennummer"])
        self.assertEqual(erwartet.fehler[0].wert, b"31022026")
        for form in (roh, bytearray(roh), memoryview(roh)):
            with self.subTest(form=type(form).__name__):
                ergebnis = self.konfiguration.pruefe(form, name=str(pfad))
                self.assertEqual(ergebnis, erwartet)

    def test_faults_are_results_with_the_checkers_text(self):
        faelle = [
            (b"", "leer", "Nachrichtendatei leer nicht gefunden"),
            ("fehlt.dat", "", "Nachrichtendatei fehlt.dat nicht gefunden"),
            ("nachrichten", "", "Nachrichtendatei nachrichten nicht gefunden"),
        ]
        for nachricht, name, text in faelle:
            with self.subTest(text=text):
                ergebnis = self.konfiguration.pruefe(nachricht, name=name)
                self.assertEqual(ergebnis.exit_status, 2)
                self.assertEqual(ergebnis.abbruch, text)
                self.assertEqual(ergebnis.als_dict()["ergebnis"], "abbruch")
                self.assertFalse(ergebnis.ok)

    def test_other_types_and_a_closed_configuration_are_refused(self):
        with self.assertRaises(TypeError):
            self.konfiguration.pruefe(42)
        self.konfiguration.schliessen()
        with self.assertRaises(ValueError):
            self.konfiguration.pruefe(b"x")

    def test_a_path_or_name_with_nul_is_refused_not_cut(self):
        roh = pathlib.Path("nachrichten/schadenmeldung_ok.dat").read_bytes()
        faelle = [
            ("nachrichten/schadenmeldung_ok.dat\0x", None),
            (pathlib.Path("nachrichten/schadenmeldung_ok.dat\0x"), None),
            (roh, "eingang\0x"),
            (roh, b"eingang\0x"),
            (roh, pathlib.Path("eingang\0x")),
            ("nachrichten/schadenmeldung_ok.dat", "eingang\0x"),
        ]
        for nachricht, name in faelle:
            with self.subTest(nachricht=str(nachricht)[:40], name=name):
                with self.assertRaisesRegex(ValueError, "null character"):
                    self.konfiguration.pruefe(nachricht, name=name)
        with self.assertRaisesRegex(ValueError, "null character in the INI path"):
            vesk.Konfiguration("plausi.ini\0x")

    def test_a_name_is_none_str_bytes_or_a_path(self):
        roh = pathlib.Path("nachrichten/schadenmeldung_ok.dat").read_bytes()
        faelle = [
            (None, ""),
            ("", ""),
            ("eingang/\u00e4.dat", "eingang/\u00e4.dat"),
            ("eingang/\u00e4.dat".encode("utf-8"), "eingang/\u00e4.dat"),
            (pathlib.PurePosixPath("eingang/a.dat"), "eingang/a.dat"),
            (pathlib.Path("a.dat"), "a.dat"),
        ]
        for name, erwartet in faelle:
            with self.subTest(name=name):
                ergebnis = self.konfiguration.pruefe(roh, name=name)
                self.assertEqual(ergebnis.exit_status, 0)
                self.assertEqual(ergebnis.nachricht, erwartet)
                self.assertEqual(ergebnis.als_dict()["nachricht"], erwartet)
        self.assertEqual(self.konfiguration.pruefe(roh).nachricht, "")
        for name in (42, 1.5, bytearray(b"a"), ["a"]):
            with self.subTest(name=name):
                with self.assertRaisesRegex(TypeError, "a name is str, bytes or a path, not "):
                    self.konfiguration.pruefe(roh, name=name)

    def test_control_characters_of_a_finding_print_escaped(self):
        # The Schadenart of the value-set example (bytes 319-321) becomes LF, ESC, DEL.
        roh = bytearray(pathlib.Path("nachrichten/schadenmeldung_wertemenge.dat").read_bytes())
        roh[319:322] = b"\n\x1b\x7f"
        ergebnis = self.konfiguration.pruefe(roh, name="a\x1b[2J")
        fehler = ergebnis.fehler[0]
        self.assertEqual(fehler.wert, b"\n\x1b\x7f")
        self.assertIn("\x7f", fehler.text)
        zeile = " ".join(vesk.maskiert(t) for t in (
            ergebnis.nachricht, fehler.text, fehler.wert.decode("latin-1")))
        self.assertEqual(zeile, "a\\x1B[2J 'Schadenarten' :\\x7F \\x0A\\x1B\\x7F")
        self.assertTrue(ergebnis.json.isascii())
        self.assertNotRegex(ergebnis.json, "[\x00-\x1f\x7f]")

    def test_threads_check_at_once_with_the_results_of_one(self):
        nachrichten = [p.read_bytes() for p in self.nachrichten]
        erwartet = [self.konfiguration.pruefe(n) for n in nachrichten]
        abweichungen = []

        def pruefe_oft():
            for _ in range(20):
                for nachricht, ergebnis in zip(nachrichten, erwartet):
                    if self.konfiguration.pruefe(nachricht) != ergebnis:
                        abweichungen.append(ergebnis)

        faeden = [threading.Thread(target=pruefe_oft) for _ in range(4)]
        for faden in faeden:
            faden.start()
        for faden in faeden:
            faden.join()
        self.assertEqual(abweichungen, [])


class Maskiert(unittest.TestCase):
    def test_escapes_control_characters_and_nothing_else(self):
        faelle = [
            ("", ""),
            ("Satzart 4100.1 a\\b", "Satzart 4100.1 a\\b"),
            ("a\r\nb", "a\\x0D\\x0Ab"),
            ("\x1b[2J\x7f", "\\x1B[2J\\x7F"),
            ("\x00\x1f", "\\x00\\x1F"),
            ("\x80x\x9f\x9b", "\\x80x\\x9F\\x9B"),
            ("\xa0\xe4\u20ac\ufffd", "\xa0\xe4\u20ac\ufffd"),
            # A byte outside UTF-8 as os.fsdecode keeps it: 0x9B is a control, 0xE4 is not.
            (os.fsdecode(b"a\x9b\xe4"), "a\\x9B" + os.fsdecode(b"\xe4")),
        ]
        for text, erwartet in faelle:
            with self.subTest(text=text):
                self.assertEqual(vesk.maskiert(text), erwartet)


class Laden(unittest.TestCase):
    def test_a_configuration_that_cannot_be_loaded_raises_the_checkers_text(self):
        vorher = os.getcwd()
        os.chdir(BEISPIELE)
        try:
            faelle = [
                ("fehlt.ini", "Pemo-Initialisierungsdatei fehlt.ini nicht gefunden"),
                ("datensaetze.ini", "Kein Feld fuer Plausipruefung in datensaetze.ini definiert"),
            ]
            for ini, text in faelle:
                with self.subTest(ini=ini):
                    with self.assertRaises(vesk.VeskFehler) as gefangen:
                        vesk.Konfiguration(ini)
                    self.assertEqual(gefangen.exception.text, text)
                    self.assertEqual(str(gefangen.exception), text)
        finally:
            os.chdir(vorher)

    def test_version_is_major_and_minor(self):
        self.assertRegex(vesk.version(), r"^\d+\.\d+$")


if __name__ == "__main__":
    unittest.main()
