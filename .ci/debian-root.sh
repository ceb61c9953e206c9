# Helpers for a fresh Debian root, made with mmdebstrap, in which .ci/debian13, .ci/readme and
# .ci/apt-install run what a user of that release would; sourced, not run, after lib.sh.

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

# Makes a new folder for a Debian root under /var/tmp, named by $root, removed when the script ends.
temporary_root() {
  root=$(mktemp -d /var/tmp/bin2dec-root.XXXXXX)
  # --one-file-system: should a mount have outlived its namespace, what it shows is not removed.
  trap 'rm -rf --one-file-system "$root"' EXIT
}
