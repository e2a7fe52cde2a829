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
# dpkg leaves its journal here when it is stopped part way; apt refuses to work until
# `dpkg --configure -a` has replayed it.
interrupted=$(find /var/lib/dpkg/updates -type f -print -quit 2>/dev/null || true)
if ((${#missing[@]} == 0)) && [[ -z $interrupted ]]; then exit 0; fi

as_root=()
if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: missing packages: ${missing[*]}" >&2
        echo "install-deps: run this as root, or install them: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
log=$(mktemp "${TMPDIR:-/tmp}/orvek-apt.XXXXXX.log")
# Runs apt or dpkg as root with its output in the log; on failure names the log and shows its end.
step() {
    if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@" >>"$log" 2>&1; then
        echo "install-deps: '$*' failed; the last lines of its output:" >&2
        tail -n 15 "$log" | sed 's/^/    /' >&2
        echo "install-deps: apt's full output is in $log" >&2
        exit 1
    fi
}
apt=(apt-get -y -o DPkg::Lock::Timeout=600 -o APT::Color=0)

via=${as_root:+ (with sudo)}
if [[ -n $interrupted ]]; then
    echo "install-deps: finishing a package installation that was cut short (dpkg --configure -a)$via"
    step dpkg --configure -a
fi
if ((${#missing[@]} == 0)); then exit 0; fi

echo "install-deps: the build needs ${#missing[@]} packages$via: ${missing[*]}"
echo "install-deps: updating the package lists"
step "${apt[@]}" update
# The plan, without installing: apt prints the sizes, then answers its own question with no.
plan=$("${as_root[@]}" env LC_ALL=C "${apt[@]}" --assume-no --no-install-recommends install \
    "${missing[@]}" 2>&1 || true)
echo "$plan" >>"$log"
count=$(sed -n 's/.* \([0-9]\+\) newly installed.*/\1/p' <<<"$plan")
download=$(sed -n 's/^Need to get \([^ ]* [kMG]\?B\).*/\1/p' <<<"$plan")
disk=$(sed -n 's/^After this operation, \([^ ]* [kMG]\?B\).*/\1/p' <<<"$plan")
echo "install-deps: downloading and installing ${count:-the} packages (${download:-nothing} to" \
    "download, ${disk:-no more} of disk); this takes a minute or two"
step "${apt[@]}" --no-install-recommends install "${missing[@]}"
echo "install-deps: done; apt's output is in $log"
