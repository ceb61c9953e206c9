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

# The tests that may skip, each only where its platform cannot run it: a pattern of the names of
# the build folders where it may, then the test. A skip anywhere else fails CI.
expected_skips=(
  # A big-endian C library cannot read the locale archive that this little-endian machine made.
  "linux-s390x* PosixDialogue.WritesTheSameBytesUnderALocaleThatGroupsDigits"
)

# Fails, naming each test, where the last CTest run in the build folder $1 (or the one whose log
# $2 is) skipped a test that expected_skips does not name for that folder.
no_unexpected_skips() {
  local build=$1 test entry unexpected=()
  local log=${2:-$build/Testing/Temporary/LastTest.log}
  [ -s "$log" ] || fail "$build has no log of a test run ($log)"
  while read -r test; do
    for entry in "${expected_skips[@]}" ''; do
      # shellcheck disable=SC2053 # the folder's pattern is a pattern
      [[ -n $entry && $(basename "$build") == ${entry%% *} && $test == "${entry#* }" ]] && break
    done
    [ -n "$entry" ] || unexpected+=("$test")
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

# The newest version of glibc whose symbols the program $1 asks for (2.34, say).
newest_glibc_asked() {
  readelf --version-info --wide "$1" | grep -Eo 'Name: GLIBC_[0-9.]+' | sed 's/.*GLIBC_//' |
    sort -V | tail -n 1
}

# The Debian package $1 must depend on the C library alone, from exactly the newest version its
# program $2 asks for: an older one would let it install where it cannot run, a newer one would
# keep it from systems where it can.
depends_on_glibc_it_needs() {
  local depends wanted
  depends=$(dpkg-deb --field "$1" Depends)
  wanted="libc6 (>= $(newest_glibc_asked "$2"))"
  [ "$depends" = "$wanted" ] || fail "$1 depends on '$depends', not on '$wanted' as its program asks"
}

# A value that CMake found when it configured the build folder $1 (see build-value.cmake).
build_value() { cmake -P "$(dirname "${BASH_SOURCE[0]}")/build-value.cmake" "$1" "$2"; }

# The Debian architecture that the build folder $1 builds for: the cross target's, or this
# machine's.
build_architecture() {
  local arch
  arch=$(cache_value "$1" BIN2DEC_DEBIAN_ARCH)
  echo "${arch:-$(dpkg --print-architecture)}"
}

# The control-flow protection that a processor's compilers have: -fcf-protection on x86, and
# -mbranch-protection on arm64; none on the others.
control_flow_flag() {
  case $1 in
    x86_64 | AMD64 | i686) echo -fcf-protection ;;
    aarch64 | arm64) echo -mbranch-protection=standard ;;
  esac
}

# Checks that every source of bin2dec that the build folder $1 compiles has the hardening flags
# that leave no trace in the program to be read back, its processor's control-flow flag too.
compiled_hardened() {
  local flags=(-fstack-protector-strong -fstack-clash-protection -D_FORTIFY_SOURCE=2)
  flags+=($(control_flow_flag "$(build_value "$1" CMAKE_SYSTEM_PROCESSOR)"))
  cmake -P "$(dirname "${BASH_SOURCE[0]}")/compiled-with.cmake" "$1" "${flags[@]}" ||
    fail "$1 ($(build_architecture "$1")) is built without the hardening flags named above"
}

# What the fully static program $1 writes for 10110011 with nothing else beside it: run natively,
# alone in an empty root (no loader, no C library, no /dev, no /proc); or, where an emulator's
# command follows, under it, as qemu is a program of this machine and cannot run in the empty
# root, with no QEMU_LD_PREFIX to give the program a C library to find.
static_program_report() {
  local program=$1 empty status=0
  shift
  if (($# > 0)); then
    printf '10110011\n' | env -u QEMU_LD_PREFIX "$@" "$program"
    return
  fi
  empty=$(mktemp -d)
  cp "$program" "$empty/bin2dec"
  printf '10110011\n' | chroot "$empty" /bin2dec || status=$?
  rm -rf "$empty"
  return "$status"
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

# Re-runs the script $1 (with its arguments) in a mount namespace of its own, so that what it
# mounts in a Debian root, by mmdebstrap or below, ends with it, however it ends, and is never seen
# by the host. Inside a chroot, whose root is no mount point, the mounts' propagation cannot be
# changed, and stays as whoever made the chroot set it. Returns where it is in one already.
own_mount_namespace() {
  [ -z "${BIN2DEC_OWN_MOUNTS:-}" ] || return 0
  local propagation=private
  mountpoint -q / || propagation=unchanged
  BIN2DEC_OWN_MOUNTS=1 exec unshare --mount --propagation "$propagation" "$@"
}

# Makes a Debian root of release $1 (bookworm, trixie) in the folder $2, with mmdebstrap, from
# the Debian mirror this machine's apt uses (read from apt's own list of what it fetches;
# deb.debian.org where apt has fetched nothing yet), and this machine's name servers.
make_debian_root() {
  local mirror
  mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Label: Debian' | head -n 1)
  mirror=${mirror:-http://deb.debian.org/debian/}
  echo "making a root of Debian $1 in $2 from $mirror"
  mmdebstrap --quiet --variant=apt "$1" "$2" "$mirror"
  cp /etc/resolv.conf "$2/etc/resolv.conf"
  # The authorities that this machine trusts, for npm, which reaches its registry over TLS: a
  # network that inspects TLS, as CI's does, signs with an authority of its own.
  mkdir -p "$2/etc/ssl"
  cp /etc/ssl/certs/ca-certificates.crt "$2/etc/ssl/host-certificates.crt"
}

# Runs a command in the Debian root $1, in the folder $2 there, with the host's devices (/dev/full,
# pseudo-terminals), a /proc of its own and a clean environment; the mounts go again afterwards.
# Call it in a mount namespace of the script's own (own_mount_namespace).
run_in_root() {
  local root=$1 folder=$2 status=0
  shift 2
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
    NODE_EXTRA_CA_CERTS=/etc/ssl/host-certificates.crt \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    sh -c 'cd "$1" && shift && exec "$@"' _ "$folder" "$@" || status=$?
  umount -R "$root/proc" "$root/dev" "$root/sys"
  return "$status"
}
