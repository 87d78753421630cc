# Sourced by the scripts: which Windows architecture Corvane is built for and tested in on this host.
#
# Corvane is a 32-bit program, built for i686 and run in a 32-bit Wine prefix. Some hosts run 64-bit
# user code only (the kernel refuses 32-bit programs, and Wine's 32-bit loader with them); there the
# same sources are built for x86_64 and run by Wine's 64-bit loader in a 64-bit prefix, so that they are
# still built and tested. CORVANE_ARCH=i686 or x86_64 chooses by hand.
if [ -z "${CORVANE_ARCH:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        CORVANE_ARCH=i686
    else
        CORVANE_ARCH=x86_64
    fi
fi
case $CORVANE_ARCH in
i686)
    WINEARCH=win32
    CORVANE_WINE=wine
    ;;
x86_64)
    WINEARCH=win64
    CORVANE_WINE=/usr/lib/wine/wine64
    export WINELOADER=$CORVANE_WINE
    ;;
*)
    echo "CORVANE_ARCH must be i686 or x86_64, not '$CORVANE_ARCH'" >&2
    exit 1
    ;;
esac
CORVANE_TOOLCHAIN=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/toolchain-$CORVANE_ARCH-mingw.cmake
export CORVANE_ARCH WINEARCH CORVANE_WINE CORVANE_TOOLCHAIN
