"""The description of vesk dienst's HTTP interface (dienst/openapi.yaml) against the service's
contract, and against its manual page: the same paths, methods, error answers and headers.

Standard library only: the file is read as the block-style YAML it is written in, a key per
line, nested by indentation; a key with a value on its line (a scalar, a flow mapping, a block
text) owns the lines indented below it as part of that value.
"""

import json
import pathlib
import re
import unittest

QUELLEN = pathlib.Path(__file__).resolve().parent.parent.parent
BESCHREIBUNG = QUELLEN / "dienst" / "openapi.yaml"
HANDBUCH = QUELLEN / "man" / "vesk-dienst.1"

# Path -> the one method it takes.
ENDPUNKTE = {
    "/pruefen": "post",
    "/zeigen": "post",
    "/gesund": "get",
    "/bereit": "get",
    "/version": "get",
    "/metriken": "get",
    "/": "get",
    "/seite.css": "get",
    "/seite.js": "get",
}
SEITE = {"/", "/seite.css", "/seite.js"}

# Every error answer: status -> title of the problem document.
FEHLER = {
    400: "Ungueltige Anfrage",
    404: "Nicht gefunden",
    405: "Methode nicht erlaubt",
    408: "Zeitueberschreitung der Anfrage",
    411: "Laenge erforderlich",
    413: "Nachricht zu gross",
    431: "Kopfzeilen zu gross",
    500: "Interner Fehler",
    503: "Dienst ausgelastet",
}
# What any request may get, and what only a request with a body may get; 404 and 405 belong to
# no listed operation.
JEDE_OPERATION = {200, 400, 408, 431, 500, 503}
NUR_MIT_KOERPER = {411, 413}

ZEILE = re.compile(r"^( *)(- )?(?:([^\s:\-{\[][^:]*?|\"[^\"]*\"):(?: (.*))?|(.*))$")


class Knoten:
    def __init__(self, wert=None):
        self.wert = wert
        self.kinder = {}

    def __getitem__(self, schluessel):
        return self.kinder[schluessel]

    def __contains__(self, schluessel):
        return schluessel in self.kinder

    def alle(self):
        """This node and every node below it."""
        yield self
        for kind in self.kinder.values():
            yield from kind.alle()


def lies_yaml(text):
    wurzel = Knoten()
    stapel = [(-1, wurzel)]  # (indentation, node); the last one takes the next deeper key
    wert_bis = None  # the indentation of a key with a value: deeper lines belong to the value
    listen = 0
    for nummer, zeile in enumerate(text.splitlines(), 1):
        if not zeile.strip() or zeile.lstrip().startswith("#"):
            continue
        einzug = len(zeile) - len(zeile.lstrip(" "))
        if wert_bis is not None and einzug > wert_bis:
            continue
        wert_bis = None
        treffer = ZEILE.match(zeile)
        einzug = len(treffer.group(1))
        while stapel[-1][0] >= einzug:
            stapel.pop()
        eltern = stapel[-1][1]
        if treffer.group(2):  # a list item: a scalar, or a node with its first key on this line
            listen += 1
            eintrag = Knoten(treffer.group(5))
            eltern.kinder[f"-{listen}"] = eintrag
            if treffer.group(5) is not None:
                wert_bis = einzug
                continue
            stapel.append((einzug, eintrag))
            eltern = eintrag
            einzug += 2
        elif treffer.group(5) is not None:
            raise ValueError(f"{BESCHREIBUNG.name}:{nummer}: no key: {zeile!r}")
        schluessel = treffer.group(3).strip('"')
        wert = treffer.group(4)
        knoten = Knoten(wert)
        if schluessel in eltern.kinder:
            raise ValueError(f"{BESCHREIBUNG.name}:{nummer}: {schluessel} twice")
        eltern.kinder[schluessel] = knoten
        if wert is None:
            stapel.append((einzug, knoten))
        else:
            wert_bis = einzug
    return wurzel


class Beschreibung(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = BESCHREIBUNG.read_text(encoding="utf-8")
        cls.dokument = lies_yaml(cls.text)
        cls.komponenten = cls.dokument["components"]

    def aufgeloest(self, knoten):
        """The node a $ref names, or the node itself."""
        if "$ref" not in knoten:
            return knoten
        ziel = knoten["$ref"].wert.strip('"')
        self.assertTrue(ziel.startswith("#/"), ziel)
        knoten = self.dokument
        for teil in ziel[2:].split("/"):
            self.assertIn(teil, knoten, ziel)
            knoten = knoten[teil]
        return knoten

    def operationen(self):
        for pfad, eintrag in self.dokument["paths"].kinder.items():
            for methode, operation in eintrag.kinder.items():
                yield pfad, methode, operation

    def test_version_und_pfade(self):
        self.assertEqual(self.dokument["openapi"].wert.strip('"'), "3.0.3")
        pfade = self.dokument["paths"].kinder
        self.assertEqual(set(pfade), set(ENDPUNKTE))
        for pfad, methode in ENDPUNKTE.items():
            with self.subTest(pfad=pfad):
                self.assertEqual(set(pfade[pfad].kinder), {methode})

    def test_jeder_verweis_hat_ein_ziel(self):
        verweise = re.findall(r'\$ref: "([^"]*)"', self.text)
        self.assertGreater(len(verweise), 0)
        for ziel in set(verweise):
            with self.subTest(ziel=ziel):
                knoten = self.dokument
                for teil in ziel.removeprefix("#/").split("/"):
                    self.assertIn(teil, knoten)
                    knoten = knoten[teil]

    def test_antworten_je_operation(self):
        for pfad, methode, operation in self.operationen():
            with self.subTest(pfad=pfad):
                erwartet = JEDE_OPERATION | (NUR_MIT_KOERPER if methode == "post" else set())
                status = {int(s) for s in operation["responses"].kinder}
                self.assertEqual(status, erwartet)

    def test_jeder_fehler_ist_ein_problem_mit_seinem_titel(self):
        beschrieben = {}
        for name, antwort in self.komponenten["responses"].kinder.items():
            inhalt = antwort["content"]["application/problem+json"]
            self.assertEqual(inhalt["schema"]["$ref"].wert, '"#/components/schemas/Problem"')
            beispiel = json.loads(inhalt["example"].wert)
            self.assertEqual(beispiel["type"], "about:blank", name)
            beschrieben[beispiel["status"]] = beispiel["title"]
        self.assertEqual(beschrieben, FEHLER)
        problem = self.komponenten["schemas"]["Problem"]
        self.assertEqual(set(json.loads(problem["properties"]["status"]["enum"].wert)),
                         set(FEHLER))
        self.assertEqual(problem["required"].wert, "[type, title, status, detail]")

    def test_kopfzeilen(self):
        antworten = self.komponenten["responses"]
        # Every answer, success or error, names its request id.
        for pfad, _, operation in self.operationen():
            for status, antwort in operation["responses"].kinder.items():
                with self.subTest(pfad=pfad, status=status):
                    self.assertIn("X-Request-Id", self.aufgeloest(antwort)["headers"])
        for name, antwort in antworten.kinder.items():
            with self.subTest(antwort=name):
                self.assertIn("X-Request-Id", antwort["headers"])
        self.assertIn("Allow", antworten["MethodeNichtErlaubt"]["headers"])
        self.assertIn("Retry-After", antworten["DienstAusgelastet"]["headers"])
        self.assertEqual(self.komponenten["headers"]["Retry-After"]["schema"]["enum"].wert, "[1]")
        # The page, and only the page, comes with its Content-Security-Policy.
        for pfad, _, operation in self.operationen():
            with self.subTest(pfad=pfad):
                kopf = operation["responses"]["200"]["headers"]
                self.assertEqual("Content-Security-Policy" in kopf, pfad in SEITE)

    def test_nachricht_als_koerper_und_name_als_abfrage(self):
        koerper = self.komponenten["requestBodies"]["Nachricht"]
        self.assertIn("application/octet-stream", koerper["content"])
        self.assertIn("*/*", koerper["content"])
        name = self.komponenten["parameters"]["Name"]
        self.assertEqual((name["name"].wert, name["in"].wert, name["required"].wert),
                         ("name", "query", "false"))
        for pfad, methode, operation in self.operationen():
            with self.subTest(pfad=pfad):
                parameter = {p["$ref"].wert for p in operation["parameters"].kinder.values()}
                mit_name = '"#/components/parameters/Name"' in parameter
                self.assertEqual(mit_name, methode == "post")
                self.assertEqual("requestBody" in operation, methode == "post")

    def test_pruefergebnis_wie_vesk_pruefen_json(self):
        schema = self.komponenten["schemas"]["Pruefergebnis"]
        self.assertEqual(set(schema["properties"].kinder),
                         {"nachricht", "ergebnis", "nachrichtentyp", "abbruch", "fehler"})
        self.assertEqual(schema["properties"]["ergebnis"]["enum"].wert, "[ok, fehler, abbruch]")


class Handbuchseite(unittest.TestCase):
    """The manual page describes the same interface."""

    @classmethod
    def setUpClass(cls):
        cls.text = HANDBUCH.read_text(encoding="utf-8")

    def abschnitt(self, name):
        self.assertIn(f"\n.SH {name}\n", self.text)
        return self.text.split(f"\n.SH {name}\n", 1)[1].split("\n.SH ", 1)[0]

    def test_fehler_mit_titeln(self):
        zeilen = re.findall(r"^\.B (\d{3}) (.+)$", self.abschnitt("ERRORS"), re.M)
        self.assertEqual({int(s): t for s, t in zeilen}, FEHLER)

    def test_endpunkte(self):
        abschnitt = self.abschnitt("ENDPOINTS")
        for pfad, methode in ENDPUNKTE.items():
            with self.subTest(pfad=pfad):
                self.assertRegex(abschnitt, rf"{methode.upper()} {re.escape(pfad)}(\\c|\"|\n| )")


if __name__ == "__main__":
    unittest.main()
