#!/usr/bin/env python3
"""Writes a position list over bench/konfiguration, for the measurements.

    positionen.py <message file> <records> [<every n-th record faulty>]

The message holds the header, that many records of type 4400 and the trailer. Every field holds
a value the definitions accept, so the checker checks every field of every record, unless a
third argument asks for a faulty date in every n-th record (findings spread over the message).
"""
import sys

SATZLAENGE = 256


def satz(*felder):
    """A blank-filled record with (1-based position, text) pairs."""
    bytes_ = bytearray(b" " * SATZLAENGE)
    for position, text in felder:
        daten = text.encode("ascii")
        bytes_[position - 1:position - 1 + len(daten)] = daten
    return bytes(bytes_)


def position(i, fehlerhaft):
    return satz((1, "4400"), (5, "%06d" % (i % 999999 + 1)),
                (11, "31022026" if fehlerhaft else "08122026"), (19, "143000"),
                (25, "AABBCCDD"[2 * (i % 4):2 * (i % 4) + 2]), (27, "EUR"),
                (30, "%05d" % (1000 + 7 * (i % 14000))), (35, "%07d" % (i % 10000000)),
                (42, "%010d" % (i * 1999 % 9999999999 + 1)), (52, str(i % 9 + 1)),
                (53, "122026"), (59, "1430"), (63, "Position %d" % (i % 10000)))


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    anzahl = int(sys.argv[2])
    jede = int(sys.argv[3]) if len(sys.argv) == 4 else 0
    with open(sys.argv[1], "wb") as datei:
        datei.write(satz((1, "4001"), (5, "05"), (7, "ABSENDER01"), (17, "08122026")))
        block = bytearray()
        for i in range(anzahl):
            block += position(i, jede > 0 and i % jede == 0)
            if len(block) >= 1 << 20:
                datei.write(block)
                block.clear()
        datei.write(block)
        datei.write(satz((1, "4999"), (5, "%08d" % anzahl)))


if __name__ == "__main__":
    main()
