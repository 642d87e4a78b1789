#!/bin/sh
# Installs from Debian's archive those of the given packages that this machine lacks, for the
# README's commands ./beispiel and ./test:
#   cmake/pakete-bereitstellen.sh <command that needs them> <package>...
# A tool counts as present when its command is found (a newer CMake under /usr/local serves as
# well as Debian's); a library when dpkg has its package installed, since the build looks for it
# where the package puts it. Installs as root directly, or through sudo when not root.
set -eu

wer=$1
shift

# Prints the command that stands for a tool's package; nothing for a library's.
befehl_von() {
  case $1 in
    cmake) echo cmake ;;
    ninja-build) echo ninja ;;
    gcc) echo gcc ;;
    g++) echo g++ ;;
    python3) echo python3 ;;
    mandoc) echo mandoc ;;
    chromium) echo chromium ;;
    chromium-driver) echo chromedriver ;;
  esac
}

# Prints what the build wants a package for.
wozu() {
  case $1 in
    cmake) echo "CMake 3.25, the build system and its presets" ;;
    ninja-build) echo "Ninja, the generator of every preset" ;;
    gcc) echo "the C compiler, for the C example that embeds the library" ;;
    g++) echo "the C++20 compiler" ;;
    libcli11-dev) echo "CLI11, headers only: the command line of vesk" ;;
    nlohmann-json3-dev) echo "nlohmann-json, headers only: the JSON reports" ;;
    libboost-dev) echo "Boost, headers only: the HTTP service" ;;
    libgtest-dev) echo "GoogleTest: the unit tests" ;;
    python3) echo "Python 3: the tests of the Python module" ;;
    mandoc) echo "mandoc: the check of the manual pages" ;;
    chromium) echo "Chromium, headless: the browser test of the service's web page" ;;
    chromium-driver) echo "ChromeDriver: drives Chromium in the browser test" ;;
    python3-selenium) echo "Selenium for Debian's python3: the browser test" ;;
    *) echo "needed by $wer" ;;
  esac
}

vorhanden() {
  befehl=$(befehl_von "$1")
  if [ -n "$befehl" ]; then
    command -v "$befehl" >/dev/null 2>&1
  else
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
  fi
}

fehlende=""
for paket in "$@"; do
  vorhanden "$paket" || fehlende="$fehlende $paket"
done
[ -n "$fehlende" ] || exit 0

# Every way out below names the packages and the command that installs them by hand.
scheitern() {
  echo "$wer: $1" >&2
  echo "$wer: install them yourself (apt-get install$fehlende), or build without installing:" \
    "see the README, \"Two commands\"" >&2
  exit 1
}

echo "$wer needs these packages from Debian's archive, which this machine lacks:"
for paket in $fehlende; do
  echo "  $paket: $(wozu "$paket")"
done
command -v apt-get >/dev/null 2>&1 || scheitern "apt-get is missing: this is no Debian machine"
if [ "$(id -u)" -eq 0 ]; then
  als_root=""
elif command -v sudo >/dev/null 2>&1; then
  als_root=sudo
  echo "Installing them through sudo, which may ask for your password."
else
  scheitern "installing needs root, and sudo is missing"
fi
echo "Installing them with apt-get install -y (after apt-get update)."
# env passes the variable through sudo, whose policy may drop it from the environment.
# shellcheck disable=SC2086 # $als_root is empty or one word, $fehlende a list of package names
$als_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
  scheitern "apt-get update failed"
# shellcheck disable=SC2086
$als_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $fehlende ||
  scheitern "apt-get install failed"

for paket in $fehlende; do
  vorhanden "$paket" || scheitern "$paket is installed, but still not found"
done
