# Sourced by test.sh and run.sh: the packages, the user the build belongs to, and a build that
# prints a line per step and the compiler's output only when it fails.

# Installs what is missing, then carries on as the checkout's owner: started as root (or with
# sudo) on a user's checkout, the build and the program stay that user's.
install_and_become_owner() {
    "$root/tools/install-deps.sh"
    local owner
    owner=$(stat -c %U "$root")
    if ((EUID == 0)) && [[ $owner != root ]]; then
        echo "building as $owner, who owns $root"
        exec runuser -u "$owner" -- "$0" "$@"
    fi
}

# configure_and_build DIR TARGET [CMAKE_OPTION...]: configures DIR only when it holds no build
# yet, or only a configure that failed (once it does, the build re-runs CMake itself when a
# CMakeLists.txt changes), then builds TARGET ("all" for everything).
configure_and_build() {
    local build=$1 target=$2
    shift 2
    local foreign
    foreign=$(find "$build" -maxdepth 1 ! -user "$(id -u)" -print -quit 2>/dev/null || true)
    if [[ -n $foreign ]]; then
        echo "$build belongs to $(stat -c %U "$foreign"), from an earlier run as that user;" \
            "remove it (sudo rm -rf $build) and run again" >&2
        exit 1
    fi
    mkdir -p "$build"
    if [[ ! -f $build/build.ninja ]]; then
        echo "configuring $build"
        quietly "$build/configure.log" cmake -S "$root" -B "$build" -G Ninja "$@"
    fi
    echo "building $target in $build"
    quietly "$build/build.log" cmake --build "$build" --target "$target"
}

# quietly LOG COMMAND...: runs the command with its output in LOG; on failure shows it.
quietly() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        grep -v '^\[[0-9]*/[0-9]*\] ' "$log" | tail -n 60 >&2
        echo "failed: $*; the full output is in $log" >&2
        exit 1
    fi
}
