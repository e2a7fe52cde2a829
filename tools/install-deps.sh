#!/usr/bin/env bash
# Installs the Debian packages the build needs (listed in .ci/packages.txt) that are missing.
# Prints one line per step; apt's own output goes to a log that is named at the end, or when a
# step fails. As root it runs apt itself; as another user through sudo, and only when something
# has to be installed or repaired. A first install cut short (Ctrl-C, a timeout) is finished
# before anything else is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

mapfile -t wanted < <(grep -v '^\s*#' "$root/.ci/packages.txt" | sed 's/\s//g; /^$/d')
missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
# dpkg leaves its journal here when it is stopped part way, and apt refuses to work until
# `dpkg --configure -a` has replayed it; --audit names packages left unpacked or half set up.
interrupted=$(find /var/lib/dpkg/updates -type f -print -quit 2>/dev/null || true)
[[ -n $interrupted ]] || interrupted=$(dpkg --audit 2>/dev/null || true)
if ((${#missing[@]} == 0)) && [[ -z $interrupted ]]; then exit 0; fi

as_root=()
if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: this needs root, and sudo is not installed; as root run:" >&2
        [[ -z $interrupted ]] || echo "    dpkg --configure -a && apt-get --fix-broken install" >&2
        ((${#missing[@]} == 0)) ||
            echo "    apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
log=$(mktemp "${TMPDIR:-/tmp}/orvek-apt.XXXXXX.log")
# Names the log and shows its end, after the step given failed.
fail() {
    echo "install-deps: '$1' failed; the last lines of its output:" >&2
    tail -n 15 "$log" | sed 's/^/    /' >&2
    echo "install-deps: apt's full output is in $log" >&2
    exit 1
}
# Runs apt or dpkg as root with its output in the log; step stops at a failure.
logged() { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@" >>"$log" 2>&1; }
step() { logged "$@" || fail "$*"; }
# dpkg --configure -a, waiting first for any dpkg still at work: one that a killed apt left
# running holds the lock for a while, and dpkg itself never waits for it.
finish_cut_short_install() {
    local waited=0
    until logged dpkg --configure -a; do
        tail -n 5 "$log" | grep -q 'lock was locked by another process' && ((waited < 600)) ||
            fail "dpkg --configure -a"
        ((waited > 0)) || echo "install-deps: waiting for another dpkg to finish"
        sleep 2
        ((waited += 2))
    done
}
apt=(apt-get -o DPkg::Lock::Timeout=600 -o APT::Color=0)

via=${as_root:+ (with sudo)}
if [[ -n $interrupted ]]; then
    echo "install-deps: finishing a package installation that was cut short$via"
    finish_cut_short_install
    step "${apt[@]}" -y --fix-broken install
fi
if ((${#missing[@]} == 0)); then exit 0; fi

echo "install-deps: the build needs ${#missing[@]} packages$via: ${missing[*]}"
echo "install-deps: updating the package lists"
step "${apt[@]}" update
# The plan, from a simulation (it needs no root): what apt will install and the sizes that
# the package lists give for it.
mapfile -t planned < <(LC_ALL=C apt-get -s --no-install-recommends install "${missing[@]}" \
    2>>"$log" | sed -n 's/^Inst \([^ ]*\) .*/\1/p')
sizes=$({ apt-cache show --no-all-versions "${planned[@]}" 2>>"$log" || true; } | awk '
    function mb(x) { return x < 1 ? "under 1 MB" : sprintf("about %.0f MB", x) }
    /^Size:/ { download += $2 } /^Installed-Size:/ { disk += $2 }
    END { printf "(%s to download, %s of disk)%s", mb(download / 1e6), mb(disk / 1e3),
              (download > 50e6 ? "; this takes a minute or two" : "") }')
echo "install-deps: downloading and installing ${#planned[@]} package(s) $sizes"
step "${apt[@]}" -y --no-install-recommends install "${missing[@]}"
echo "install-deps: done; apt's output is in $log"
