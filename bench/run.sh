#!/usr/bin/env bash
# Measures the checker against baselines on the same files, each pair in one hyperfine run:
#   1. the bundled clean example end to end                 against /bin/true  (target <= 1.2x)
#   2. 100 MB of records of a layout that mixes every field kind and value set
#      (bench/konfiguration, 14 fields, a 181-byte reserve)  against wc -l     (target <= 2x)
#   2b. the same on one core                                 against wc -l     (target <= 3x)
#   3. a few records with one 500 MB attachment             against cat       (target <= 1.5x)
#   4. peak resident memory of runs 2 and 3                 against the file  (target <= +8 MiB)
#   5. 1,000 records checked against a value-set file of 1,000,000 entries, loading included
#                                                                               (target <= 0.5 s)
#   6. vesk pruefen on a folder of 10,000 small clean messages on all cores, against the checker
#      started once per file by xargs -P on all cores                    (target >= 20x faster)
#   7. the same folder with --jobs 2 against --jobs 1                        (target >= 1.7x faster)
#   7b. for comparison, no target: the same folder walked and every file read by the same code
#      on 2 threads against 1, without any check (bench/nur_lesen.cpp): what threads can gain
#      at most for this part on this machine, since opening and reading files is kernel work
# Prints a table and exits 1 when a target is missed.
# Usage: bench/run.sh [scratch folder, default /tmp/vesk-bench]
set -euo pipefail
cd "$(dirname "$0")/.."
quellen=$(pwd)
arbeit=${1:-/tmp/vesk-bench}
mkdir -p "$arbeit"

for paket in hyperfine time python3; do
  if ! dpkg -s "$paket" >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$paket" >/dev/null ||
      { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$paket" >/dev/null; }
  fi
done

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
pruefer=$quellen/build/bench/Vesk_Plausipruefer
vesk=$quellen/build/bench/vesk
nurlesen=$quellen/build/bench/bench/nur_lesen
erzeuger=$quellen/build/bench/nachricht_erzeugen
positionen=$quellen/bench/positionen.py
kerne=$(nproc)

datensaetze=$arbeit/positionen_100mb.dat
klein=$arbeit/positionen_1000.dat
anhang=$arbeit/anhang_500mb.dat
[ -f "$datensaetze" ] || "$positionen" "$datensaetze" 400000
[ -f "$klein" ] || "$positionen" "$klein" 1000
[ -f "$anhang" ] || "$erzeuger" "$anhang" 5 524288000

# The layout's configuration once more, with a value-set file of a million entries.
gross=$arbeit/wertemenge_1m
if [ ! -f "$gross/postleitzahlen.txt" ]; then
  mkdir -p "$gross"
  cp "$quellen"/bench/konfiguration/*.ini "$gross"/
  python3 -c "
with open('$gross/postleitzahlen.txt', 'w') as f:
    f.writelines('%05d\n' % n for n in range(100000))
    f.writelines('X%06d\n' % n for n in range(900000))"
fi

eingang=$arbeit/eingang
if [ ! -d "$eingang" ] || [ "$(find "$eingang" -type f | wc -l)" -ne 10000 ]; then
  rm -rf "$eingang"
  for ordner in $(seq -w 0 99); do
    mkdir -p "$eingang/$ordner"
    for nummer in $(seq -w 0 99); do
      cp "$quellen/examples/nachrichten/schadenmeldung_ok.dat" "$eingang/$ordner/$nummer.dat"
    done
  done
fi

beispiel=nachrichten/schadenmeldung_ok.dat
sauber() {  # <folder> <message>: the checker finds nothing
  (cd "$1" && "$pruefer" plausi.ini "$2" | grep -q "Nachricht OK !") || { echo "not clean: $2" >&2; exit 1; }
}
sauber "$quellen/examples" "$beispiel"
sauber "$quellen/examples" "$anhang"
sauber "$quellen/bench/konfiguration" "$datensaetze"
sauber "$gross" "$klein"

# mean seconds of the two commands of one hyperfine run: "<checker> <baseline>"
messe() {
  local csv=$arbeit/messung.csv
  hyperfine -N --warmup 3 --min-runs "$1" --export-csv "$csv" --style none "$2" "$3" >/dev/null
  awk -F, 'NR == 2 { a = $2 } NR == 3 { b = $2 } END { printf "%s %s\n", a, b }' "$csv"
}
spitze_kib() {
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

cd "$quellen/examples"
read -r k1 b1 < <(messe 300 "$pruefer plausi.ini $beispiel" "/bin/true")
read -r k3 b3 < <(messe 10 "$pruefer plausi.ini $anhang" "bash -c 'cat $anhang > /dev/null'")
m3=$(spitze_kib "$pruefer" plausi.ini "$anhang")
read -r k6 b6 < <(messe 3 "$vesk pruefen --jobs $kerne plausi.ini $eingang" \
  "bash -c 'find $eingang -type f | xargs -P $kerne -n 1 $pruefer plausi.ini > /dev/null'")
read -r k7 b7 < <(messe 5 "$vesk pruefen --jobs 2 plausi.ini $eingang" \
  "$vesk pruefen --jobs 1 plausi.ini $eingang")
read -r l7 n7 < <(messe 5 "$nurlesen 2 $eingang" "$nurlesen 1 $eingang")
cd "$quellen/bench/konfiguration"
read -r k2 b2 < <(messe 10 "$pruefer plausi.ini $datensaetze" "wc -l $datensaetze")
read -r e2 f2 < <(messe 10 "taskset -c 0 $pruefer plausi.ini $datensaetze" "wc -l $datensaetze")
m2=$(spitze_kib "$pruefer" plausi.ini "$datensaetze")
cd "$gross"
read -r k5 b5 < <(messe 10 "$pruefer plausi.ini $klein" "/bin/true")
g2=$(( $(stat -c %s "$datensaetze") / 1024 ))
g3=$(( $(stat -c %s "$anhang") / 1024 ))

awk -v k1="$k1" -v b1="$b1" -v k2="$k2" -v b2="$b2" -v e2="$e2" -v f2="$f2" -v k3="$k3" -v b3="$b3" \
    -v m2="$m2" -v g2="$g2" -v m3="$m3" -v g3="$g3" -v k5="$k5" \
    -v k6="$k6" -v b6="$b6" -v k7="$k7" -v b7="$b7" -v l7="$l7" -v n7="$n7" -v kerne="$kerne" 'BEGIN {
  printf "| Measurement | Checker | Baseline | Ratio | Target |\n|---|---|---|---|---|\n"
  printf "| 1. clean example vs /bin/true | %.2f ms | %.2f ms | %.2f | <= 1.2 |\n", k1*1000, b1*1000, k1/b1
  printf "| 2. 100 MB of the mixed layout vs wc -l | %.1f ms | %.1f ms | %.2f | <= 2 |\n", k2*1000, b2*1000, k2/b2
  printf "| 2b. the same on one core vs wc -l | %.1f ms | %.1f ms | %.2f | <= 3 |\n", e2*1000, f2*1000, e2/f2
  printf "| 3. 500 MB attachment vs cat | %.1f ms | %.1f ms | %.2f | <= 1.5 |\n", k3*1000, b3*1000, k3/b3
  printf "| 4a. peak memory, run 2 | %.1f MiB | file %.1f MiB | %+.1f MiB | <= +8 MiB |\n", m2/1024, g2/1024, (m2-g2)/1024
  printf "| 4b. peak memory, run 3 | %.1f MiB | file %.1f MiB | %+.1f MiB | <= +8 MiB |\n", m3/1024, g3/1024, (m3-g3)/1024
  printf "| 5. 1,000 records, value-set file of 1,000,000 entries | %.0f ms | | | <= 500 ms |\n", k5*1000
  printf "| 6. 10,000 messages: vesk pruefen --jobs %d vs xargs -P %d | %.0f ms | %.0f ms | %.1fx faster | >= 20x |\n", kerne, kerne, k6*1000, b6*1000, b6/k6
  printf "| 7. 10,000 messages: --jobs 2 vs --jobs 1 | %.0f ms | %.0f ms | %.2fx faster | >= 1.7x |\n", k7*1000, b7*1000, b7/k7
  printf "| 7b. the walk and reading alone, 2 threads vs 1 (no target) | %.0f ms | %.0f ms | %.2fx faster | |\n", l7*1000, n7*1000, n7/l7
  verfehlt = (k1/b1 > 1.2) + (k2/b2 > 2) + (e2/f2 > 3) + (k3/b3 > 1.5) + (m2-g2 > 8192) + (m3-g3 > 8192)
  verfehlt += (k5 > 0.5) + (b6/k6 < 20) + (b7/k7 < 1.7)
  if (verfehlt) { printf "%d target(s) missed\n", verfehlt; exit 1 }
  print "all targets met"
}'
