# Sourced by the scripts: which Windows architecture Corvane is built for and tested in on this host.
#
# The same sources make two programs: Corvane.exe (i686, the main product) and Corvane64.exe (x86_64).
# The build folder holds the build of the architecture chosen here, and the other one's in a folder of its
# own under it (build/x86_64 or build/i686). Corvane.exe is chosen, and run in a 32-bit Wine prefix, where
# the host runs 32-bit code. Some hosts run 64-bit user code only (the kernel refuses 32-bit programs,
# and Wine's 32-bit loader with them); there Corvane64.exe is chosen and run by Wine's 64-bit loader in a
# 64-bit prefix. CORVANE_ARCH=i686 or x86_64 chooses by hand.

# Whether this host runs 32-bit Windows code: whether Wine's 32-bit loader starts at all.
corvane_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if [ -z "${CORVANE_ARCH:-}" ]; then
    if corvane_runs_32bit; then
        CORVANE_ARCH=i686
    else
        CORVANE_ARCH=x86_64
    fi
fi
# WINEARCH is never left set: it names the architecture of a prefix that wineboot is to make, and Wine
# refuses to run in an existing prefix of the other one with it (a 64-bit sample machine for Corvane.exe).
# CORVANE_WINEARCH is the architecture of this build's test prefix; corvane_prefix_wine makes and sets up
# prefixes. WINELOADER names the loader that CORVANE_WINE is, since Wine derives the other architecture's
# loader from it.
unset WINEARCH
case $CORVANE_ARCH in
i686)
    CORVANE_WINEARCH=win32
    CORVANE_PROGRAM=Corvane
    CORVANE_WINE=wine
    unset WINELOADER
    ;;
x86_64)
    CORVANE_WINEARCH=win64
    CORVANE_PROGRAM=Corvane64
    CORVANE_WINE=/usr/lib/wine/wine64
    export WINELOADER=$CORVANE_WINE
    ;;
*)
    echo "CORVANE_ARCH must be i686 or x86_64, not '$CORVANE_ARCH'" >&2
    exit 1
    ;;
esac
CORVANE_TOOLCHAIN=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/toolchain-$CORVANE_ARCH-mingw.cmake
export CORVANE_ARCH CORVANE_WINEARCH CORVANE_PROGRAM CORVANE_WINE CORVANE_TOOLCHAIN

# Runs one of Wine's system programs (wineboot, regedit) for a prefix of the given architecture (win32 or
# win64), with that architecture's loader, WINEARCH and WINELOADER, whatever the caller's environment and
# build hold: a 64-bit prefix is made and set up by the 64-bit loader, whichever program will run in it.
# Usage: corvane_prefix_wine ARCH PROGRAM [ARGUMENT...]
corvane_prefix_wine() {
    local arch=$1
    shift
    case $arch in
    win64) (WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 exec /usr/lib/wine/wine64 "$@") ;;
    win32) (unset WINELOADER; WINEARCH=win32 exec wine "$@") ;;
    *)
        echo "corvane_prefix_wine: a prefix is win32 or win64, not '$arch'" >&2
        return 2
        ;;
    esac
}

# The architecture of a program name (Corvane or Corvane64), and the build folder that holds its build
# and test runner: BUILD itself, or the other architecture's folder under it.
corvane_program_arch() {
    case $1 in
    Corvane) echo i686 ;;
    Corvane64) echo x86_64 ;;
    *) return 1 ;;
    esac
}
corvane_tree() {
    local build=$1 arch=$2
    if [ -f "$build/$arch/CMakeCache.txt" ]; then echo "$build/$arch"; else echo "$build"; fi
}
