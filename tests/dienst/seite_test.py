"""The page of vesk dienst in a headless Chromium, against the running service.

Environment: VESK (the vesk executable), VESK_BEISPIELE (the examples folder, default: the
project's), VESK_BILDSCHIRMFOTO (where the laptop-width screenshot of the feldfehler example goes,
default: a temporary file).

Every bundled example message is chosen through the file input, and what the page shows is held
against `vesk zeigen --json` of the same file: verdict, message type, which fields and records are
marked, their finding texts, and where each link of the findings list leads. Three damaged
messages made from an example add what the examples lack: an abbruch, a record shown raw and
bytes outside printable ASCII.
"""

import json
import os
import pathlib
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import unittest
import urllib.error
import urllib.request

try:
    from selenium import webdriver
    from selenium.common.exceptions import TimeoutException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None

PROJEKT = pathlib.Path(__file__).resolve().parents[2]
SEITE = PROJEKT / "dienst" / "seite"
CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")
CHROMEDRIVER = shutil.which("chromedriver")
VESK = os.environ.get("VESK")
BEISPIELE = pathlib.Path(os.environ.get("VESK_BEISPIELE", PROJEKT / "examples")).resolve()
CSP = ("default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
       "connect-src 'self'; form-action 'none'; base-uri 'none'; frame-ancestors 'none'")
LAPTOP = (1280, 900, False)  # viewport width, height, mobile
TELEFON = (390, 844, True)
WARTEN = 20  # seconds for the page or the service to answer


def fehlt_etwas():
    if webdriver is None:
        return "selenium fehlt (Debian: python3-selenium, mit /usr/bin/python3 starten)"
    if CHROMIUM is None or CHROMEDRIVER is None:
        return "chromium oder chromedriver fehlt"
    if not VESK:
        return "VESK (Pfad des vesk-Programms) ist nicht gesetzt"
    return None


def maskiert(text):
    """A text as the page shows texts of the service: control characters as \\xHH."""
    return re.sub(r"[\x00-\x1f\x7f-\x9f]", lambda m: "\\x%02X" % ord(m.group()), text).strip()


def befund_teile(befund):
    """What must be readable of a finding: its catalogue text and its explanatory text."""
    return [maskiert(befund[s]) for s in ("beschreibung", "text") if befund.get(s)]


def beschaedigte_nachrichten(ordner):
    """Messages made from the feldfehler example that the bundled ones do not cover."""
    gut = (BEISPIELE / "nachrichten" / "schadenmeldung_feldfehler.dat").read_bytes()
    steuerzeichen = bytearray(gut)
    steuerzeichen[256:260] = b"\x01ZZ\xe4"  # a record type no definition knows
    nachrichten = {
        "leer.dat": b"",  # nothing to read: the check stops
        "abgeschnitten.dat": gut[:700],  # ends inside a record
        "steuerzeichen.dat": bytes(steuerzeichen),
    }
    pfade = []
    for name, inhalt in nachrichten.items():
        pfad = pathlib.Path(ordner) / name
        pfad.write_bytes(inhalt)
        pfade.append(pfad)
    return pfade


class Dienst:
    """`vesk dienst` on a free port, run from the examples folder."""

    def __init__(self, *optionen):
        self.prozess = subprocess.Popen(
            [VESK, "dienst", "--port", "0", *optionen, "plausi.ini"], cwd=BEISPIELE,
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        erste = self.prozess.stderr.readline()
        try:
            self.adresse = f"http://127.0.0.1:{json.loads(erste)['port']}"
        except (ValueError, KeyError):
            self.prozess.kill()
            raise AssertionError(f"erste Zeile des Dienstes nennt keinen Port: {erste!r}")
        # The rest of the log must not fill the pipe and stall the service.
        self.log = []
        self.leser = threading.Thread(target=lambda: self.log.extend(self.prozess.stderr))
        self.leser.start()

    def beende(self):
        """Stops the service as its unit file does, and tells how it ended."""
        if self.prozess.poll() is not None:
            self.leser.join(timeout=WARTEN)
            raise AssertionError(f"vesk dienst endete vorzeitig mit {self.prozess.returncode}: "
                                 f"{b''.join(self.log[-5:])!r}")
        self.prozess.send_signal(signal.SIGTERM)
        try:
            code = self.prozess.wait(timeout=WARTEN)
        finally:
            self.leser.join(timeout=WARTEN)
            self.prozess.stderr.close()
        if code != 0:
            raise AssertionError(f"vesk dienst endet nach SIGTERM mit {code}: "
                                 f"{b''.join(self.log[-5:])!r}")


@unittest.skipIf(fehlt_etwas(), fehlt_etwas())
class SeiteTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ordner = tempfile.TemporaryDirectory(prefix="vesk-seite-")
        cls.dienst = Dienst()
        cls.adresse = cls.dienst.adresse
        cls.browser = cls.starte_browser()

    @classmethod
    def starte_browser(cls):
        optionen = webdriver.ChromeOptions()
        optionen.binary_location = CHROMIUM
        for schalter in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         "--window-size=1280,900",
                         f"--user-data-dir={tempfile.mkdtemp(dir=cls.ordner.name)}"):
            optionen.add_argument(schalter)
        optionen.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        return webdriver.Chrome(service=Service(CHROMEDRIVER), options=optionen)

    @classmethod
    def tearDownClass(cls):
        try:
            cls.browser.quit()
            cls.dienst.beende()
        finally:
            cls.ordner.cleanup()

    # -- helpers ---------------------------------------------------------------------------

    def setUp(self):
        self.zeige_als(LAPTOP)
        self.browser.get(self.adresse + "/")
        self.browser.get_log("browser")  # only this test's messages count

    def tearDown(self):
        meldungen = [m["message"] for m in self.browser.get_log("browser")
                     if m["level"] == "SEVERE"]
        self.assertEqual(meldungen, [], "Fehler in der Konsole des Browsers (CSP?)")

    def zeige_als(self, geraet):
        breite, hoehe, mobil = geraet
        self.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": breite, "height": hoehe, "deviceScaleFactor": 1, "mobile": mobil})

    def js(self, skript, *argumente):
        return self.browser.execute_script(skript, *argumente)

    def waehle(self, pfad):
        """Chooses `pfad` through the file input and waits for the page to show it."""
        self.browser.find_element(By.ID, "datei").send_keys(str(pfad))
        try:
            WebDriverWait(self.browser, WARTEN).until(lambda b: self.js(
                "return document.body.dataset.zustand !== 'laeuft' && "
                "document.getElementById('ergebnisbereich').dataset.datei === arguments[0]",
                pfad.name))
        except TimeoutException:
            meldung = self.browser.find_element(By.ID, "meldung").text
            self.fail(f"{pfad.name} wird nicht gezeigt; Meldung: {meldung!r}")

    def erwartet(self, pfad):
        aus = subprocess.run([VESK, "zeigen", "--json", "plausi.ini", str(pfad)], cwd=BEISPIELE,
                             capture_output=True, check=False)
        return json.loads(aus.stdout)

    def kein_seitliches_blaettern(self):
        breite, sichtbar = self.js(
            "return [document.documentElement.scrollWidth, window.innerWidth]")
        self.assertLessEqual(breite, sichtbar, "die Seite blaettert seitlich")

    def pruefe_bericht(self, pfad):
        bericht = self.erwartet(pfad)
        self.waehle(pfad)
        ergebnis = self.browser.find_element(By.ID, "ergebnis")
        self.assertEqual(ergebnis.get_attribute("data-ergebnis"), bericht["ergebnis"])
        self.assertEqual(self.browser.find_element(By.ID, "nachrichtentyp").text,
                         bericht["nachrichtentyp"] or "nicht erkannt")
        abbruch = self.browser.find_element(By.ID, "abbruch")
        self.assertEqual(abbruch.is_displayed(), bericht["ergebnis"] == "abbruch")

        saetze = self.browser.find_elements(By.CSS_SELECTOR, "#saetze > .satz")
        self.assertEqual(len(saetze), len(bericht["datensaetze"]))
        alle = list(bericht["fehler"])
        for satz, erwartet in zip(saetze, bericht["datensaetze"]):
            with self.subTest(datensatz=erwartet["datensatz"]):
                kopf = satz.find_element(By.TAG_NAME, "h3").text
                self.assertIn(f"Datensatz {erwartet['datensatz']}", kopf)
                self.assertIn(f"Offset {erwartet['offset']}", kopf)
                self.assertIn(f"Satzart {maskiert(erwartet['satzart'] or '?')}", kopf)
                self.assertEqual("fehlerhaft" in satz.get_attribute("class").split(),
                                 bool(erwartet["fehler"]))
                for befund in erwartet["fehler"]:
                    for teil in befund_teile(befund):
                        self.assertIn(teil, satz.find_element(By.CLASS_NAME, "befundliste").text)
                alle += erwartet["fehler"]
                if "problem" in erwartet:
                    self.assertIn(maskiert(erwartet["problem"]),
                                  satz.find_element(By.CLASS_NAME, "problem").text)
                    self.assertIn(f"{erwartet['laenge']} Byte",
                                  satz.find_element(By.CLASS_NAME, "roh").text)
                zeilen = satz.find_elements(By.CSS_SELECTOR, "tr.feld")
                self.assertEqual(len(zeilen), len(erwartet["felder"]))
                markiert = [i for i, z in enumerate(zeilen)
                            if "fehlerhaft" in z.get_attribute("class").split()]
                self.assertEqual(markiert, [i for i, f in enumerate(erwartet["felder"])
                                            if f.get("fehler")])
                for i in markiert:
                    text = zeilen[i].find_element(By.CLASS_NAME, "befund").text
                    for befund in erwartet["felder"][i]["fehler"]:
                        alle.append(befund)
                        for teil in befund_teile(befund):
                            self.assertIn(teil, text)

        oben = self.browser.find_element(By.ID, "nachrichtenbefunde")
        self.assertEqual(oben.is_displayed(), bool(bericht["fehler"]))
        for befund in bericht["fehler"]:
            for teil in befund_teile(befund):
                self.assertIn(teil, oben.text)

        # Each finding is listed once at the top, and its link leads to a marked place.
        ziele = [a.get_attribute("hash")[1:] for a in
                 self.browser.find_elements(By.CSS_SELECTOR, "#befunde a")]
        self.assertEqual(len(ziele), len(alle))
        for ziel in ziele:
            klassen = self.js("const z = document.getElementById(arguments[0]);"
                              "return z === null ? null : z.id === 'nachrichtenbefunde' ? "
                              "['fehlerhaft'] : Array.from(z.classList)", ziel)
            self.assertIsNotNone(klassen, f"#{ziel} fehlt")
            self.assertIn("fehlerhaft", klassen, f"#{ziel} ist nicht markiert")
        self.kein_seitliches_blaettern()
        return bericht

    # -- tests -----------------------------------------------------------------------------

    def test_dateien_der_seite(self):
        for pfad, datei, typ in (("/", "index.html", "text/html; charset=utf-8"),
                                 ("/seite.css", "seite.css", "text/css; charset=utf-8"),
                                 ("/seite.js", "seite.js", "text/javascript; charset=utf-8")):
            with self.subTest(pfad=pfad), urllib.request.urlopen(self.adresse + pfad) as antwort:
                self.assertEqual(antwort.headers["Content-Type"], typ)
                self.assertEqual(antwort.headers["Content-Security-Policy"], CSP)
                self.assertEqual(antwort.read(), (SEITE / datei).read_bytes())

    def test_beispielnachrichten(self):
        beispiele = sorted((BEISPIELE / "nachrichten").glob("*.dat"))
        self.assertGreater(len(beispiele), 0)
        for pfad in beispiele:
            with self.subTest(nachricht=pfad.name):
                self.pruefe_bericht(pfad)

    def test_beschaedigte_nachrichten(self):
        for pfad in beschaedigte_nachrichten(self.ordner.name):
            with self.subTest(nachricht=pfad.name):
                bericht = self.pruefe_bericht(pfad)
                if pfad.name == "leer.dat":
                    self.assertEqual(bericht["ergebnis"], "abbruch")
                if pfad.name == "steuerzeichen.dat":
                    roh = self.browser.find_element(By.CSS_SELECTOR, "#satz-1 .roh .wert")
                    self.assertTrue(roh.text.startswith("\\x01ZZ\u00e4S-2026-000123·"), roh.text)
                    self.assertEqual(
                        roh.find_element(By.CLASS_NAME, "byte").text, "\\x01")

    def test_fehler_des_dienstes(self):
        # A message over the service's limit: the page shows the problem document's texts.
        nachricht = BEISPIELE / "nachrichten" / "schadenmeldung_ok.dat"
        klein = Dienst("--max-bytes", "1KiB")
        try:
            anfrage = urllib.request.Request(klein.adresse + "/zeigen?name=ok.dat",
                                             data=nachricht.read_bytes(), method="POST")
            with self.assertRaises(urllib.error.HTTPError) as antwort:
                urllib.request.urlopen(anfrage)
            problem = json.loads(antwort.exception.read())
            self.assertEqual(problem["status"], 413)
            self.browser.get(klein.adresse + "/")
            self.browser.find_element(By.ID, "datei").send_keys(str(nachricht))
            WebDriverWait(self.browser, WARTEN).until(
                lambda b: self.js("return document.body.dataset.zustand") == "fehler")
            meldung = self.browser.find_element(By.ID, "meldung")
            self.assertIn("fehlermeldung", meldung.get_attribute("class").split())
            self.assertIn(problem["title"], meldung.text)
            self.assertIn(problem["detail"], meldung.text)
            self.assertFalse(self.browser.find_element(By.ID, "ergebnisbereich").is_displayed())
            # The browser logs the refused upload itself; nothing else may show up.
            for eintrag in self.browser.get_log("browser"):
                if eintrag["level"] == "SEVERE":
                    self.assertIn("status of 413", eintrag["message"])
        finally:
            klein.beende()

    def test_werte_zeigen_leerzeichen(self):
        # Rendered values of the feldfehler example: (record, field number, text shown).
        faelle = [
            (0, 9, "B-XY·1234···"),
            (0, 10, "+ 20 Leerzeichen"),
            (1, 4, "VS-998877+ 11 Leerzeichen"),
            (1, 7, "VK·"),
            (2, 2, "+ 20 Leerzeichen"),
            (2, 5, "Auffahrunfall·an·Ampel·······"),
            (3, 6, "·······"),
        ]
        self.waehle(BEISPIELE / "nachrichten" / "schadenmeldung_feldfehler.dat")
        for satz, feld, text in faelle:
            with self.subTest(satz=satz, feld=feld):
                zelle = self.browser.find_elements(
                    By.CSS_SELECTOR, f"#satz-{satz} tr.feld")[feld - 1].find_element(
                    By.CSS_SELECTOR, ".wert")
                self.assertEqual(zelle.text.replace("\n", ""), text)

    def test_tastatur(self):
        erreicht = []
        for _ in range(5):
            ActionChains(self.browser).send_keys(Keys.TAB).perform()
            erreicht.append(self.js("return document.activeElement.id"))
            if erreicht[-1] == "datei":
                break
        self.assertIn("ablage", erreicht)
        self.assertEqual(erreicht[-1], "datei")

        self.waehle(BEISPIELE / "nachrichten" / "schadenmeldung_feldfehler.dat")
        verweis = self.browser.find_element(By.CSS_SELECTOR, "#befunde a")
        verweis.send_keys(Keys.ENTER)
        WebDriverWait(self.browser, WARTEN).until(
            lambda b: self.js("return location.hash") == verweis.get_attribute("hash"))
        self.assertTrue(self.js("return document.querySelector(':target') !== null"))

    def test_bildschirmfoto_laptop(self):
        self.waehle(BEISPIELE / "nachrichten" / "schadenmeldung_feldfehler.dat")
        self.kein_seitliches_blaettern()
        ziel = os.environ.get("VESK_BILDSCHIRMFOTO") or os.path.join(
            self.ordner.name, "seite.png")
        self.assertTrue(self.browser.save_screenshot(ziel))
        self.assertGreater(os.path.getsize(ziel), 10_000)

    def test_telefonbreite(self):
        self.zeige_als(TELEFON)
        self.browser.get(self.adresse + "/")
        self.kein_seitliches_blaettern()
        for name in ("schadenmeldung_feldfehler.dat", "schadenmeldung_satzanzahl.dat"):
            with self.subTest(nachricht=name):
                self.pruefe_bericht(BEISPIELE / "nachrichten" / name)
        # The field table turns into one block per field, its column names beside the values.
        self.assertEqual(self.js(
            "return getComputedStyle(document.querySelector('tr.feld')).display"), "block")


if __name__ == "__main__":
    unittest.main()
