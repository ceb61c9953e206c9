# Helpers that CI's scripts share; sourced, not run.

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

# Prints its arguments on standard error, and fails.
fail() {
  echo "$*" >&2
  return 1
}

# A value from a build folder's CMake cache.
cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

project_version() { cache_value "$1" CMAKE_PROJECT_VERSION; }

# What bin2dec writes for 10110011 from a pipe, each line ended by $1 (\n, or \r\n on Windows).
report_for_10110011() {
  printf "%s$1" \
    'Please enter a binary number of 8 digits or less: ' \
    '**************************************************' \
    'The unsigned binary number: 10110011' \
    'equals the decimal number: 179' \
    '**************************************************'
}

# Checks that every source of bin2dec that the build folder $1 compiles has the hardening flags
# that leave no trace in the program to be read back; $2 is its processor's control-flow flag.
compiled_hardened() {
  cmake -P "$(dirname "${BASH_SOURCE[0]}")/compiled-with.cmake" "$1" -fstack-protector-strong \
    -fstack-clash-protection "$2" -D_FORTIFY_SOURCE=2
}

# Builds a package (cpack's generator $3) from a fresh clone of the source folder $1, in the
# folder $2, configured as a Release build with any further options given; prints its path.
package_from_clone() {
  local source=$1 clone=$2 generator=$3
  shift 3
  git clone -q "$source" "$clone"
  cmake -S "$clone" -B "$clone/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    "$@" >/dev/null
  cmake --build "$clone/build" >/dev/null
  (cd "$clone/build" && cpack -G "$generator" >/dev/null)
}

# Packages the source folder $1 from two fresh clones, in other folders and a second apart, and
# fails unless both give the package $2 with the same bytes. $3 is cpack's generator; any
# further options go to CMake.
same_from_two_clones() {
  local source=$1 name=$2 generator=$3 clones
  shift 3
  clones=$(mktemp -d)
  package_from_clone "$source" "$clones/first" "$generator" "$@"
  sleep 1
  package_from_clone "$source" "$clones/second/elsewhere" "$generator" "$@"
  cmp "$clones/first/build/$name" "$clones/second/elsewhere/build/$name" ||
    fail "two builds of the same commit gave different bytes for $name"
  rm -rf "$clones"
}

# The program must need the C library alone: libc, libm and the dynamic loader, all of libc6.
needs_c_library_only() {
  local library
  readelf -dW "$1" | grep -q '(NEEDED).*\[libc\.so\.6\]' ||
    fail "$1 is not a program linked to the shared C library"
  for library in $(readelf -dW "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    [[ $library =~ ^(libc\.so\.6|libm\.so\.6|ld-linux[-a-z0-9_]*\.so\.[0-9])$ ]] ||
      fail "$1 needs $library: the C++ runtime must be linked in (BIN2DEC_STATIC_RUNTIME)"
  done
}
