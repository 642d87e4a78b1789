-- wrk script of bench/run.sh: posts one message over and over and checks every answer.
--
--   wrk -t2 -c32 -d5s -s bench/dienst_last.lua <url> -- <message file>
--
-- An answer counts as right when its status is 200 and its body holds "ergebnis":"ok", so the
-- message must be one the checker finds clean. done() prints one line for bench/run.sh:
--   last richtig=<n> falsch=<n> anfragen=<n> dauer_us=<n> p99_us=<n> fehler=<n>
-- where fehler counts socket errors, timeouts and answers outside 2xx/3xx as wrk sees them.

local threads = {}

function setup(thread)
  table.insert(threads, thread)
end

function init(args)
  local datei = assert(io.open(args[1], "rb"))
  wrk.method = "POST"
  wrk.body = datei:read("*a")
  wrk.headers["Content-Type"] = "application/octet-stream"
  datei:close()
  richtig = 0
  falsch = 0
end

function response(status, headers, body)
  if status == 200 and body:find('"ergebnis":"ok"', 1, true) then
    richtig = richtig + 1
  else
    falsch = falsch + 1
  end
end

function done(summary, latency, requests)
  local r, f = 0, 0
  for _, thread in ipairs(threads) do
    r = r + thread:get("richtig")
    f = f + thread:get("falsch")
  end
  local e = summary.errors
  io.write(string.format("last richtig=%d falsch=%d anfragen=%d dauer_us=%d p99_us=%d fehler=%d\n",
    r, f, summary.requests, summary.duration, latency:percentile(99),
    e.connect + e.read + e.write + e.status + e.timeout))
end
