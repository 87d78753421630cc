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
case $CORVANE_ARCH in
i686)
    WINEARCH=win32
    CORVANE_PROGRAM=Corvane
    CORVANE_WINE=wine
    unset WINELOADER
    ;;
x86_64)
    WINEARCH=win64
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
export CORVANE_ARCH WINEARCH CORVANE_PROGRAM CORVANE_WINE CORVANE_TOOLCHAIN

# Wine's loader for the system programs (wineboot, regedit) of a prefix of the given architecture: a
# 64-bit prefix is made and set up by the 64-bit loader, whichever program will run in it.
corvane_prefix_loader() {
    if [ "$1" = win64 ]; then echo /usr/lib/wine/wine64; else echo "$CORVANE_WINE"; fi
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
