# Helpers that CI's scripts share, by concern; sourced, not run. The Debian roots' are in
# debian-root.sh.

ci=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$ci")

## Saying what failed

# Prints its arguments on standard error, and fails.
fail() {
  echo "$*" >&2
  return 1
}

## Installing

# Installs the Debian packages that are missing, given as "command:package", "/file:package" or
# a package's name alone.
require() {
  local pair what missing=()
  for pair in "$@"; do
    what=${pair%%:*}
    if [[ $pair != *:* ]]; then
      dpkg-query -W -f '${Status}' "$pair" 2>/dev/null | grep -q 'ok installed' && continue
    elif [[ $what == /* ]]; then
      [ -e "$what" ] && continue
    else
      command -v "$what" >/dev/null && continue
    fi
    missing+=("${pair#*:}")
  done
  if ((${#missing[@]})); then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

## Build folders

# A value from a build folder's CMake cache.
cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

# A value that CMake found when it configured the build folder $1 (see build-value.cmake).
build_value() { cmake -P "$ci/build-value.cmake" "$1" "$2"; }

# The Debian architecture that the build folder $1 builds for: the toolchain's, or this machine's.
build_architecture() {
  local arch
  arch=$(cache_value "$1" BIN2DEC_DEBIAN_ARCH)
  echo "${arch:-$(dpkg --print-architecture)}"
}

# A column of an architecture's row of the table (cmake/architectures.txt).
architecture() { "$top/tools/table" architectures --where arch "$1" "$2"; }

# The major number of this machine's Debian release: 12, 13, ...
debian_release() { sed 's/\..*//' /etc/debian_version; }

# Whether this Debian release's C library links the architecture $1 a static PIE, as the table's
# pie column says (a plain static program elsewhere).
links_static_pie() {
  local pie
  pie=$(architecture "$1" pie)
  [ "$pie" != - ] && (($(debian_release) >= pie))
}

# The file that the download $1 is, as tools/release --list names it.
download_file() { "$top/tools/release" --list | awk -v name="$1" '$1 == name { print $2 }'; }

## Test runs

# A test may skip only where its platform cannot run it: the locale test where a big-endian C
# library cannot read the locale archive that this little-endian machine made.
may_skip() {
  [ "$2" = PosixDialogue.WritesTheSameBytesUnderALocaleThatGroupsDigits ] &&
    [ "$(architecture "$(build_architecture "$1")" endian)" = big ]
}

# Fails, naming each test, where the last CTest run in the build folder $1 (or the one whose log
# $2 is) skipped a test that may not skip there.
no_unexpected_skips() {
  local build=$1 test unexpected=()
  local log=${2:-$build/Testing/Temporary/LastTest.log}
  [ -s "$log" ] || fail "$build has no log of a test run ($log)"
  while read -r test; do
    may_skip "$build" "$test" || unexpected+=("$test")
  done < <(awk '/^[0-9]+\/[0-9]+ Test: / { test = $3 }
    /^Skip regular expression found in output/ { print test }' "$log")
  ((${#unexpected[@]} == 0)) ||
    fail "$build: these tests skipped, which they may not do there: ${unexpected[*]}"
}

# The exhaustive test prints how many inputs each of its quarters checked: together they must be
# every 32-bit input, which a quarter that skipped, failed to start or was left out does not give.
# $1 is the output of the run: a CTest log, or the test program's own.
checked_every_input() {
  local checked
  checked=$(grep -ho '^checked [0-9]* inputs' "$1" | awk '{ n += $2 } END { printf "%.0f", n }')
  [ "$checked" = 4294967296 ] ||
    { fail "$1: the exhaustive test checked $checked inputs, not all 4294967296"; return; }
  echo "the exhaustive test checked all $checked inputs"
}

## Programs

# What bin2dec writes for 10110011 from a pipe, each line ended by $1 (\n, or \r\n on Windows).
report_for_10110011() {
  local line
  while IFS= read -r line; do
    printf "%s$1" "$line"
  done <"$top/tests/report-for-10110011.txt"
}

# Whether the console example on standard input, its command line and then what the console
# shows, is what the program $1 writes, each line read without its trailing blanks, as a reader
# sees it. "$ bin2dec" is a terminal, where what is typed after the prompt is echoed with its line
# end; "$ echo INPUT | bin2dec" a pipe, where nothing is echoed. Prints how they differ.
example_is_what_it_writes() {
  local example command prompt typed shown
  example=$(cat)
  command=$(head -n 1 <<<"$example")
  prompt=$(head -n 1 "$top/tests/report-for-10110011.txt")
  case $command in
    '$ bin2dec')
      typed=$(awk -v prompt="$prompt" 'NR == 2 && index($0, prompt) == 1 {
        print substr($0, length(prompt) + 1) }' <<<"$example")
      [ -n "$typed" ] || { echo "the example types nothing after the prompt"; return 1; }
      shown=$(printf '%s\n' "$typed" | "$1" | awk -v prompt="$prompt" -v typed="$typed" '
        NR == 1 { $0 = prompt typed "\n" substr($0, length(prompt) + 1) } { print }')
      ;;
    '$ echo '*' | bin2dec')
      typed=${command#'$ echo '}
      shown=$(printf '%s\n' "${typed%' | bin2dec'}" | "$1")
      ;;
    *)
      echo "its command is neither '\$ bin2dec' nor '\$ echo INPUT | bin2dec': $command"
      return 1
      ;;
  esac
  diff <(tail -n +2 <<<"$example" | sed 's/ *$//') <(printf '%s\n' "$shown" | sed 's/ *$//')
}

# Checks that every source of bin2dec that the build folder $1 compiles has the hardening flags
# that leave no trace in the program to be read back, with the control-flow flag $2 if not -.
compiled_hardened() {
  local flags=(-fstack-protector-strong -fstack-clash-protection -D_FORTIFY_SOURCE=2)
  [ "$2" = - ] || flags+=("$2")
  cmake -P "$ci/compiled-with.cmake" "$1" "${flags[@]}" ||
    fail "$1 is built without the hardening flags named above"
}

# The program $1 must need the C library alone: libc, libm and the dynamic loader that its own
# INTERP header names, all of libc6, whatever the processor calls its loader (ld-linux.so.2,
# ld64.so.2, ld.so.1, ...). $2 names the architecture in what it says.
needs_c_library_only() {
  local library loader
  loader=$(readelf -lW "$1" | sed -n 's|.*\[Requesting program interpreter: .*/\(.*\)\]|\1|p')
  [ -n "$loader" ] || fail "$1 ($2) names no dynamic loader: it is not linked to the shared C library"
  readelf -dW "$1" | grep -q '(NEEDED).*\[libc\.so\.6\]' ||
    fail "$1 ($2) is not a program linked to the shared C library"
  for library in $(readelf -dW "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    [[ $library == libc.so.6 || $library == libm.so.6 || $library == "$loader" ]] ||
      fail "$1 ($2) needs $library: the C++ runtime must be linked in (BIN2DEC_STATIC_RUNTIME)"
  done
}
