"""The plausibility checker for insurance-claim messages, through its C library.

    import vesk
    with vesk.Konfiguration("plausi.ini") as konfiguration:
        ergebnis = konfiguration.pruefe(b"...")          # bytes, or a path
        print(ergebnis.exit_status, ergebnis.nachrichtentyp)
        for fehler in ergebnis.fehler:
            print(fehler.art, fehler.nummer, fehler.beschreibung, fehler.wert)

Needs only the standard library and libvesk.so.1: the file named by the environment variable
VESK_BIBLIOTHEK, else the one the system's loader finds. Any number of threads may check
messages on one configuration at once (the library runs without the interpreter lock), and
several configurations may be used side by side. A configuration that cannot be loaded raises
VeskFehler with the checker's text; a message whose check ends in a fault (a missing file, a
Sendeart the configuration lacks) is a result with exit status 2 and that text in `abbruch`, as
`vesk pruefen` reports it.

Paths are str, bytes or os.PathLike; a message given as bytes is the message itself, so its path
is a str or os.PathLike. The `name` of a message in memory is None (no name), str, bytes
(decoded as os.fsdecode does) or os.PathLike. A path or name holding a NUL character raises
ValueError, as open() does.

Texts (`nachricht`, `abbruch`, VeskFehler.text and the texts of a Fehler) hold the control
characters a message, a file name or a definition file put there: ESC, CR, LF, U+0080-U+009F.
Print them through maskiert(), which writes each as \\xHH, so that a hostile message can
neither drive the terminal nor split a line of a log:

    print(vesk.maskiert(ergebnis.nachricht), vesk.maskiert(fehler.text or ""))
    print(vesk.maskiert(fehler.wert.decode("latin-1")))   # the raw bytes, as the texts show them

`json` is ASCII with every control character escaped and may be printed as it is.
"""

import ctypes
import dataclasses
import json
import os
import re
import threading
from typing import Optional, Tuple, Union

__all__ = ["Konfiguration", "Ergebnis", "Fehler", "VeskFehler", "maskiert", "version"]


class VeskFehler(Exception):
    """A configuration that cannot be loaded; `text` is what the checker reports."""

    def __init__(self, text: str):
        super().__init__(text)
        self.text = text


@dataclasses.dataclass(frozen=True)
class Fehler:
    """One finding; None where a field does not apply to it."""

    art: str
    nummer: int
    beschreibung: str
    text: Optional[str]
    satzart: Optional[str]
    feldnummer: Optional[int]  # from 1
    feldname: Optional[str]
    datensatz: Optional[int]  # 0 is the header
    offset: Optional[int]
    laenge: Optional[int]
    wert: Optional[bytes]  # the field's bytes, raw


@dataclasses.dataclass(frozen=True)
class Ergebnis:
    """The outcome of checking one message."""

    nachricht: str
    exit_status: int  # the checker's: 0 clean, 1 findings, 2 a fault
    nachrichtentyp: Optional[str]
    abbruch: Optional[str]
    fehler: Tuple[Fehler, ...]
    json: str  # the object `vesk pruefen --json` prints for the message

    @property
    def ok(self) -> bool:
        return self.exit_status == 0

    def als_dict(self) -> dict:
        return json.loads(self.json)


class _CFehler(ctypes.Structure):
    _fields_ = [
        ("art", ctypes.c_char_p),
        ("nummer", ctypes.c_int32),
        ("beschreibung", ctypes.c_char_p),
        ("text", ctypes.c_char_p),
        ("satzart", ctypes.c_char_p),
        ("feldnummer", ctypes.c_int32),
        ("feldname", ctypes.c_char_p),
        ("datensatz", ctypes.c_int64),
        ("offset", ctypes.c_int64),
        ("laenge", ctypes.c_int32),
        ("wert", ctypes.c_void_p),
        ("wert_laenge", ctypes.c_size_t),
    ]


_bibliothek = None
_bibliothek_sperre = threading.Lock()


def _lade_bibliothek() -> ctypes.CDLL:
    global _bibliothek
    with _bibliothek_sperre:
        if _bibliothek is None:
            _bibliothek = _deklariere(
                ctypes.CDLL(os.environ.get("VESK_BIBLIOTHEK") or "libvesk.so.1"))
        return _bibliothek


def _deklariere(b: ctypes.CDLL) -> ctypes.CDLL:
    p = ctypes.c_void_p
    signaturen = {
        "vesk_version": (ctypes.c_char_p, []),
        "vesk_konfiguration_laden": (p, [ctypes.c_char_p, ctypes.POINTER(p)]),
        "vesk_konfiguration_freigeben": (None, [p]),
        "vesk_text_freigeben": (None, [p]),
        "vesk_pruefe_bytes": (p, [p, ctypes.c_char_p, ctypes.c_size_t, ctypes.c_char_p]),
        "vesk_pruefe_datei": (p, [p, ctypes.c_char_p]),
        "vesk_ergebnis_freigeben": (None, [p]),
        "vesk_ergebnis_exit_status": (ctypes.c_int, [p]),
        "vesk_ergebnis_nachricht": (ctypes.c_char_p, [p]),
        "vesk_ergebnis_nachrichtentyp": (ctypes.c_char_p, [p]),
        "vesk_ergebnis_abbruch": (ctypes.c_char_p, [p]),
        "vesk_ergebnis_anzahl_fehler": (ctypes.c_size_t, [p]),
        "vesk_ergebnis_fehler": (ctypes.POINTER(_CFehler), [p, ctypes.c_size_t]),
        "vesk_ergebnis_json": (ctypes.c_char_p, [p]),
    }
    for name, (ergebnis, argumente) in signaturen.items():
        funktion = getattr(b, name)
        funktion.restype = ergebnis
        funktion.argtypes = argumente
    return b


def _text(roh: Optional[bytes]) -> Optional[str]:
    # Texts from definition files pass through the library unchanged and need not be UTF-8.
    return None if roh is None else roh.decode("utf-8", errors="replace")


def _zahl(wert: int) -> Optional[int]:
    return None if wert < 0 else wert


def _fehler(c: _CFehler) -> Fehler:
    return Fehler(
        art=_text(c.art), nummer=c.nummer, beschreibung=_text(c.beschreibung),
        text=_text(c.text), satzart=_text(c.satzart), feldnummer=_zahl(c.feldnummer),
        feldname=_text(c.feldname), datensatz=_zahl(c.datensatz), offset=_zahl(c.offset),
        laenge=_zahl(c.laenge),
        wert=None if c.wert is None else ctypes.string_at(c.wert, c.wert_laenge))


def _ergebnis(b: ctypes.CDLL, handle: int) -> Ergebnis:
    anzahl = b.vesk_ergebnis_anzahl_fehler(handle)
    return Ergebnis(
        nachricht=_text(b.vesk_ergebnis_nachricht(handle)),
        exit_status=b.vesk_ergebnis_exit_status(handle),
        nachrichtentyp=_text(b.vesk_ergebnis_nachrichtentyp(handle)),
        abbruch=_text(b.vesk_ergebnis_abbruch(handle)),
        fehler=tuple(_fehler(b.vesk_ergebnis_fehler(handle, i).contents) for i in range(anzahl)),
        json=_text(b.vesk_ergebnis_json(handle)))


# The control characters of a text: C0, DEL and C1, and a byte 0x80-0x9F outside valid UTF-8 as
# os.fsdecode keeps it (the surrogate U+DC80-U+DC9F).
_STEUERZEICHEN = re.compile("[\x00-\x1f\x7f-\x9f\udc80-\udc9f]")


def maskiert(text: str) -> str:
    """`text` with each control character as the four characters \\xHH (upper-case hex).

    The characters U+0000-U+001F, U+007F and U+0080-U+009F, and the bytes 0x80-0x9F that
    os.fsdecode keeps as surrogates, become \\x00 to \\x9F; every other character, a
    backslash too, stays as it is: the rule examples/einbettung follows in C.
    """
    return _STEUERZEICHEN.sub(lambda zeichen: "\\x%02X" % (ord(zeichen.group()) & 0xFF), text)


def _ohne_nul(kodiert: bytes, was: str) -> bytes:
    # The library takes NUL-terminated strings: a NUL would silently cut the path or name.
    if b"\0" in kodiert:
        raise ValueError("embedded null character in " + was)
    return kodiert


def _pfad(pfad: Union[str, bytes, os.PathLike], was: str) -> bytes:
    return _ohne_nul(os.fsencode(pfad), was)


def _name(name: Union[None, str, bytes, os.PathLike]) -> bytes:
    if name is None:
        return b""
    if not isinstance(name, (str, bytes, os.PathLike)):
        raise TypeError("a name is str, bytes or a path, not " + type(name).__name__)
    # Through str, so that bytes and a path's bytes reach the library as os.fsdecode reads them.
    return _pfad(os.fsdecode(name), "the name")


def version() -> str:
    """The C library's version, "major.minor"."""
    return _lade_bibliothek().vesk_version().decode("ascii")


class Konfiguration:
    """A loaded configuration: the main INI file with the two definition files it names.

    Relative file names are resolved against the current directory, as the checker does.
    Raises VeskFehler when it cannot be loaded. Close it (or leave the `with` block) once no
    thread checks on it any more.
    """

    def __init__(self, ini_datei: Union[str, bytes, os.PathLike]):
        pfad = _pfad(ini_datei, "the INI path")
        self._b = _lade_bibliothek()
        fehlertext = ctypes.c_void_p()
        self._handle = self._b.vesk_konfiguration_laden(pfad, ctypes.byref(fehlertext))
        if not self._handle:
            if not fehlertext.value:
                raise MemoryError("the configuration could not be loaded")
            text = _text(ctypes.string_at(fehlertext.value))
            self._b.vesk_text_freigeben(fehlertext)
            raise VeskFehler(text)

    def pruefe(self, nachricht: Union[bytes, bytearray, memoryview, str, os.PathLike],
               name: Union[None, str, bytes, os.PathLike] = None) -> Ergebnis:
        """Checks a message: bytes (named `name` in texts) or the path of a message file.

        Raises ValueError for a path or name holding NUL, TypeError for any other type.
        """
        if not self._handle:
            raise ValueError("the configuration is closed")
        name_ = _name(name)
        if isinstance(nachricht, (bytes, bytearray, memoryview)):
            bytes_ = bytes(nachricht)
            handle = self._b.vesk_pruefe_bytes(self._handle, bytes_, len(bytes_), name_)
        elif isinstance(nachricht, (str, os.PathLike)):
            handle = self._b.vesk_pruefe_datei(self._handle, _pfad(nachricht, "the message path"))
        else:
            raise TypeError("a message is bytes or a path, not " + type(nachricht).__name__)
        if not handle:
            raise MemoryError("the message could not be checked")
        try:
            return _ergebnis(self._b, handle)
        finally:
            self._b.vesk_ergebnis_freigeben(handle)

    def schliessen(self) -> None:
        """Frees the configuration; it checks nothing afterwards."""
        handle, self._handle = getattr(self, "_handle", None), None
        if handle:
            self._b.vesk_konfiguration_freigeben(handle)

    def __enter__(self) -> "Konfiguration":
        return self

    def __exit__(self, *_) -> None:
        self.schliessen()

    def __del__(self) -> None:
        self.schliessen()
