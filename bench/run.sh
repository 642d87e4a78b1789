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
# Then vesk dienst, started once with --threads 2 over the bundled example configuration:
#   8. the clean example posted to /pruefen by wrk -t2 -c32 (keep-alive) for 5 s, at least
#      10,000 answers, each checked for "ergebnis":"ok" (bench/dienst_last.lua), against nginx
#      answering the same posts with a static file holding the service's answer
#                                                        (target >= 0.5x the requests per second)
#   9. the service's 99th percentile latency in that run                        (target <= 5 ms)
#   10. its resident memory: the peak under that load (VmHWM), and its memory 3 s after the load,
#      each against its memory once it answered /gesund     (targets <= +64 MiB and <= +8 MiB)
#   11. a clean 16 MiB message posted by bench/posten.cpp (a client that adds next to nothing to
#      the transfer) against vesk pruefen on the same file                      (target <= 1.5x)
#   11b. for comparison, no target: the same post by curl -T, to the service and to nginx,
#      which discards the body: what the client and the transfer over loopback cost by
#      themselves
# Prints a table and exits 1 when a target is missed.
# Usage: bench/run.sh [--nur-dienst] [scratch folder, default /tmp/vesk-bench]
#   --nur-dienst: only the build and rows 8 to 11
set -euo pipefail
cd "$(dirname "$0")/.."
quellen=$(pwd)
alle=1
if [ "${1:-}" = --nur-dienst ]; then
  alle=0
  shift
fi
arbeit=${1:-/tmp/vesk-bench}
mkdir -p "$arbeit"

installiere() {  # <package>...: the first one installed, else installs the first
  local paket
  for paket in "$@"; do
    dpkg -s "$paket" >/dev/null 2>&1 && return 0
  done
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$1" >/dev/null ||
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$1" >/dev/null; }
}
for paket in hyperfine time python3 wrk curl; do
  installiere "$paket"
done
installiere nginx-light nginx

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
pruefer=$quellen/build/bench/Vesk_Plausipruefer
vesk=$quellen/build/bench/vesk
nurlesen=$quellen/build/bench/bench/nur_lesen
erzeuger=$quellen/build/bench/nachricht_erzeugen
posten=$quellen/build/bench/bench/posten
positionen=$quellen/bench/positionen.py
kerne=$(nproc)

beispiel=nachrichten/schadenmeldung_ok.dat
sauber() {  # <folder> <message>: the checker finds nothing
  (cd "$1" && "$pruefer" plausi.ini "$2" | grep -q "Nachricht OK !") || { echo "not clean: $2" >&2; exit 1; }
}

# mean seconds of the commands of one hyperfine run: "<checker> <baseline>..."
messe() {
  local csv=$arbeit/messung.csv runs=$1
  shift
  hyperfine -N --warmup 3 --min-runs "$runs" --export-csv "$csv" --style none "$@" >/dev/null
  awk -F, 'NR > 1 { printf "%s%s", (NR > 2 ? " " : ""), $2 } END { printf "\n" }' "$csv"
}
spitze_kib() {
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}
sauber "$quellen/examples" "$beispiel"

if [ "$alle" = 1 ]; then
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

  sauber "$quellen/examples" "$anhang"
  sauber "$quellen/bench/konfiguration" "$datensaetze"
  sauber "$gross" "$klein"

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
fi

# vesk dienst and nginx, each in its own folder under the scratch folder; both are stopped on
# the way out, whatever happens.
dienstlog=$arbeit/dienst.log
web=$arbeit/nginx
rm -rf "$web"
mkdir -p "$web/www" "$web/temp"
dienst_pid=
nginx_pid=
anhalten() {  # stops vesk dienst and nginx if they still run
  if [ -n "$dienst_pid" ]; then kill -TERM "$dienst_pid" 2>/dev/null || true; wait "$dienst_pid" || true; fi
  if [ -n "$nginx_pid" ]; then kill -TERM "$nginx_pid" 2>/dev/null || true; wait "$nginx_pid" || true; fi
  dienst_pid=
  nginx_pid=
}
trap anhalten EXIT

# A clean message of exactly 16 MiB over the example layout: 65,536 records.
nachricht16=$arbeit/schadenmeldung_16mib.dat
[ -f "$nachricht16" ] || "$erzeuger" "$nachricht16" 65534
sauber "$quellen/examples" "$nachricht16"

(cd "$quellen/examples" && exec "$vesk" dienst --port 0 --threads 2 plausi.ini) >/dev/null 2>"$dienstlog" &
dienst_pid=$!
port=
for _ in $(seq 100); do
  port=$(head -n 1 "$dienstlog" | grep -o '"ereignis":"gestartet".*"port":[0-9]*' | grep -o '[0-9]*$' || true)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "vesk dienst did not start:" >&2; cat "$dienstlog" >&2; exit 1; }
dienst=http://127.0.0.1:$port
for _ in $(seq 100); do
  curl -fs -o /dev/null "$dienst/gesund" && break
  sleep 0.1
done
curl -fsS -o /dev/null "$dienst/gesund"
kib() {  # <pid> <VmRSS or VmHWM>: that value of /proc/<pid>/status in KiB
  awk -v schluessel="$2:" '$1 == schluessel { print $2 }' "/proc/$1/status"
}
r0=$(kib "$dienst_pid" VmRSS)

# nginx answers every post to /pruefen with the service's answer to the clean example, read from
# a file: its static handler refuses a POST with 405, which error_page turns into that file.
curl -fsS --data-binary "@$quellen/examples/$beispiel" -o "$web/www/antwort.json" "$dienst/pruefen?name=ok.dat"
grep -q '"ergebnis":"ok"' "$web/www/antwort.json" || { echo "not clean over HTTP: $beispiel" >&2; exit 1; }
nginx_port=$(python3 -c "
import socket
s = socket.socket()
s.bind(('127.0.0.1', 0))
print(s.getsockname()[1])")
cat > "$web/nginx.conf" <<KONF
worker_processes auto;
daemon off;
pid $web/nginx.pid;
error_log $web/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_max_body_size 32m;
  keepalive_requests 1000000;
  keepalive_timeout 60s;
  client_body_temp_path $web/temp/body;
  proxy_temp_path $web/temp/proxy;
  fastcgi_temp_path $web/temp/fastcgi;
  uwsgi_temp_path $web/temp/uwsgi;
  scgi_temp_path $web/temp/scgi;
  default_type application/json;
  server {
    listen 127.0.0.1:$nginx_port;
    root $web/www;
    location = /pruefen { error_page 405 =200 /antwort.json; return 405; }
  }
}
KONF
nginx -p "$web" -e "$web/error.log" -c "$web/nginx.conf" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -fs -o /dev/null --data-binary "@$quellen/examples/$beispiel" "http://127.0.0.1:$nginx_port/pruefen" && break
  sleep 0.1
done
curl -fsS --data-binary "@$quellen/examples/$beispiel" "http://127.0.0.1:$nginx_port/pruefen" |
  cmp -s - "$web/www/antwort.json" || { echo "nginx did not start:" >&2; cat "$web/error.log" >&2; exit 1; }

# One wrk run on the clean example: "<right> <wrong> <requests> <microseconds> <p99 us>
# <errors> <wrk's CPU seconds>"
last() {  # <base URL> <duration>
  local ausgabe=$arbeit/wrk.txt zeiten=$arbeit/wrk_zeit
  /usr/bin/time -o "$zeiten" -f '%U %S' wrk -t2 -c32 -d"$2" -s "$quellen/bench/dienst_last.lua" \
    "$1/pruefen?name=ok.dat" -- "$quellen/examples/$beispiel" >"$ausgabe"
  grep -q '^last ' "$ausgabe" || { echo "wrk failed on $1:" >&2; cat "$ausgabe" >&2; return 1; }
  awk -v cpu="$(cat "$zeiten")" '$1 == "last" {
    for (i = 2; i <= NF; i++) { split($i, a, "="); printf "%s ", a[2] }
    split(cpu, c, " "); printf "%s\n", c[1] + c[2] }' "$ausgabe"
}
ticks() {  # <pid>...: the CPU time of these processes so far, in clock ticks
  local pid summe=0
  for pid in "$@"; do
    summe=$(( summe + $(awk '{ print $14 + $15 }' "/proc/$pid/stat") ))
  done
  echo "$summe"
}
kerne_seit() {  # <ticks before> <microseconds> <pid>...: the cores these processes used since
  awk -v t="$(( $(ticks "${@:3}") - $1 ))" -v hz="$(getconf CLK_TCK)" -v us="$2" \
    'BEGIN { printf "%.2f", t / hz / (us / 1e6) }'
}
last "http://127.0.0.1:$nginx_port" 1s >/dev/null
last "$dienst" 1s >/dev/null
nginx_pids=$(pgrep -P "$nginx_pid" | tr '\n' ' ')
t0=$(ticks $nginx_pids)
read -r n_richtig n_falsch n_anfragen n_us n_p99 n_fehler n_cpu < <(last "http://127.0.0.1:$nginx_port" 5s)
n_kerne=$(kerne_seit "$t0" "$n_us" $nginx_pids)
t0=$(ticks "$dienst_pid")
read -r d_richtig d_falsch d_anfragen d_us d_p99 d_fehler d_cpu < <(last "$dienst" 5s)
d_kerne=$(kerne_seit "$t0" "$d_us" "$dienst_pid")
r_spitze=$(kib "$dienst_pid" VmHWM)
sleep 3
r_danach=$(kib "$dienst_pid" VmRSS)

curl -fsS --data-binary "@$nachricht16" "$dienst/pruefen" | grep -q '"ergebnis":"ok"' ||
  { echo "not clean over HTTP: $nachricht16" >&2; exit 1; }
# curl -T sends the file as it reads it; --data-binary @file would first read all of it into
# memory, which alone costs about as much as the check. nginx, discarding the body, shows what
# the client and the transfer cost by themselves.
cd "$quellen/examples"
"$posten" "$port" /pruefen "$nachricht16" || { echo "posten failed" >&2; exit 1; }
read -r k11 b11 c11 l11 < <(messe 10 "$posten $port /pruefen $nachricht16" \
  "$vesk pruefen plausi.ini $nachricht16" \
  "curl -fsS -o /dev/null -X POST -T $nachricht16 $dienst/pruefen" \
  "curl -fsS -o /dev/null -X POST -T $nachricht16 http://127.0.0.1:$nginx_port/pruefen")
anhalten

awk -v alle="$alle" \
    -v k1="${k1-}" -v b1="${b1-}" -v k2="${k2-}" -v b2="${b2-}" -v e2="${e2-}" -v f2="${f2-}" -v k3="${k3-}" -v b3="${b3-}" \
    -v m2="${m2-}" -v g2="${g2-}" -v m3="${m3-}" -v g3="${g3-}" -v k5="${k5-}" \
    -v k6="${k6-}" -v b6="${b6-}" -v k7="${k7-}" -v b7="${b7-}" -v l7="${l7-}" -v n7="${n7-}" -v kerne="$kerne" \
    -v d_richtig="$d_richtig" -v d_falsch="$d_falsch" -v d_anfragen="$d_anfragen" -v d_us="$d_us" \
    -v d_p99="$d_p99" -v d_fehler="$d_fehler" -v d_cpu="$d_cpu" -v d_kerne="$d_kerne" \
    -v n_richtig="$n_richtig" -v n_falsch="$n_falsch" -v n_anfragen="$n_anfragen" -v n_us="$n_us" \
    -v n_p99="$n_p99" -v n_fehler="$n_fehler" -v n_cpu="$n_cpu" -v n_kerne="$n_kerne" \
    -v r0="$r0" -v r_spitze="$r_spitze" -v r_danach="$r_danach" -v k11="$k11" -v b11="$b11" -v c11="$c11" -v l11="$l11" 'BEGIN {
  printf "| Measurement | Checker | Baseline | Ratio | Target |\n|---|---|---|---|---|\n"
  if (alle) {
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
  }
  d_rate = d_anfragen / (d_us / 1e6)
  n_rate = n_anfragen / (n_us / 1e6)
  printf "| 8. vesk dienst, POST /pruefen, wrk -t2 -c32, vs nginx, a static file (%d answers checked, %d wrong, %d errors) | %.0f req/s | %.0f req/s | %.2f | >= 0.5 |\n", d_richtig + d_falsch, d_falsch, d_fehler, d_rate, n_rate, d_rate/n_rate
  printf "| 9. vesk dienst, p99 latency in run 8 | %.2f ms | nginx %.2f ms | | <= 5 ms |\n", d_p99/1000, n_p99/1000
  printf "| 10a. vesk dienst, peak memory (VmHWM) after run 8 | %.1f MiB | after start %.1f MiB | %+.1f MiB | <= +64 MiB |\n", r_spitze/1024, r0/1024, (r_spitze-r0)/1024
  printf "| 10b. vesk dienst, memory (VmRSS) 3 s after run 8 | %.1f MiB | after start %.1f MiB | %+.1f MiB | <= +8 MiB |\n", r_danach/1024, r0/1024, (r_danach-r0)/1024
  printf "| 11. 16 MiB message: POST /pruefen (bench/posten) vs vesk pruefen | %.1f ms | %.1f ms | %.2f | <= 1.5 |\n", k11*1000, b11*1000, k11/b11
  printf "| 11b. the same post by curl -T (no target) | %.1f ms | %.1f ms | %.2f | |\n", c11*1000, b11*1000, c11/b11
  printf "| 11c. curl -T to nginx, the body discarded (no target) | %.1f ms | %.1f ms | %.2f | |\n", l11*1000, b11*1000, l11/b11
  printf "CPU in run 8: vesk dienst %s cores, %.0f us per answer, wrk %.2f cores; against nginx: nginx %s cores, %.0f us per answer, wrk %.2f cores (%d answers checked, %d wrong, %d errors)\n", d_kerne, d_kerne * 1e6 / d_rate, d_cpu / (d_us / 1e6), n_kerne, n_kerne * 1e6 / n_rate, n_cpu / (n_us / 1e6), n_richtig + n_falsch, n_falsch, n_fehler
  gueltig = (d_richtig + d_falsch >= 10000) && d_falsch == 0 && d_fehler == 0 && n_falsch == 0 && n_fehler == 0
  verfehlt += (!gueltig || d_rate/n_rate < 0.5) + (d_p99 > 5000) + (r_spitze-r0 > 65536) + (r_danach-r0 > 8192)
  verfehlt += (k11/b11 > 1.5)
  if (verfehlt) { printf "%d target(s) missed\n", verfehlt; exit 1 }
  print "all targets met"
}'
