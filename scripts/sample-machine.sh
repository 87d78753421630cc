#!/usr/bin/env bash
# Makes a sample machine: a fresh Wine prefix, copied from a pristine one, and set up as one of the
# machine profiles of tests/fixtures/machines describes (registry files imported with regedit, stand-in
# modules copied in, files taken away). The pristine prefixes ("machines/pristine-win32" and
# "machines/pristine-win64" in the build folder) are made once with wineboot and never run in, so every
# sample machine starts from the same state.
#
# Usage: sample-machine.sh [--build DIR] [--arch ARCH] PREFIX [PROFILE]
#   PROFILE  a file name of tests/fixtures/machines without ".machine"; "sample" when not given
#   --build  the build folder that holds the fixture modules (default: $CORVANE_BUILD, else build/)
#   --arch   i686 or x86_64: the program that will run on the machine (default: the build's own). The
#            machine is a 32-bit or 64-bit Windows to suit it, unless the profile names its own, and its
#            modules are those built for that program.
# PREFIX is replaced when it exists, but only when this script made it. Exits 77, having made nothing, when
# the machine is 32-bit Windows and this host runs no 32-bit code.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
machines=$root/tests/fixtures/machines
build=${CORVANE_BUILD:-$root/build}

. "$root/scripts/target.sh"
arch=$CORVANE_ARCH
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2 ;;
    --arch) arch=$2 ;;
    *) break ;;
    esac
    shift 2
done
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: sample-machine.sh [--build DIR] [--arch i686|x86_64] PREFIX [PROFILE]" >&2
    exit 2
fi
prefix=$1
profile=${2:-sample}

fail() {
    echo "sample-machine: $*" >&2
    exit 1
}

[ -f "$machines/$profile.machine" ] || fail "no profile '$profile'; there are: $(cd "$machines" && ls *.machine | sed 's/\.machine$//' | tr '\n' ' ')"

# The fixture modules built for an architecture.
fixtures_of() { echo "$(corvane_tree "$build" "$1")/fixtures"; }

# The profile's steps, includes first, in the order written. A module of an install step is one built for
# the program that will run (mail/bin/x.dll), or for the architecture named (x86_64:mail/bin/x.dll).
registry_files=()
steps=()
machine_arch=
read_profile() {
    local file=$machines/$1 verb argument source target
    [ -f "$file" ] || fail "$1: no such profile file"
    while read -r verb argument || [ -n "$verb" ]; do
        case $verb in
        '' | '#'*) ;;
        include) read_profile "$argument" ;;
        import)
            [ -f "$machines/$argument" ] || fail "$1: no registry file $argument"
            registry_files+=("$machines/$argument")
            ;;
        install)
            read -r source target <<<"$argument"
            local module_arch=$arch
            if [[ $source =~ ^(i686|x86_64):(.*)$ ]]; then
                module_arch=${BASH_REMATCH[1]}
                source=${BASH_REMATCH[2]}
            fi
            source=$(fixtures_of "$module_arch")/$source
            [ -f "$source" ] || fail "$1: no fixture $source (build the fixtures first)"
            steps+=("install|$source|$target")
            ;;
        arch)
            [[ $argument =~ ^win(32|64)$ ]] || fail "$1: arch must be win32 or win64, not '$argument'"
            machine_arch=$argument
            ;;
        remove) steps+=("remove||$argument") ;;
        *) fail "$1: unknown step '$verb'" ;;
        esac
    done <"$file"
}
read_profile "$profile.machine"

# A 32-bit program runs on 32-bit Windows unless the profile says the machine is 64-bit Windows, where it
# runs under WOW64; a 64-bit program needs 64-bit Windows.
case $arch in
i686) CORVANE_PREFIX_ARCH=${machine_arch:-win32} ;;
x86_64)
    [ "${machine_arch:-win64}" = win64 ] || fail "$profile is 32-bit Windows; a 64-bit program cannot run there"
    CORVANE_PREFIX_ARCH=win64
    ;;
*) fail "--arch must be i686 or x86_64, not '$arch'" ;;
esac
# A host that runs no 32-bit code has only 64-bit prefixes: its Wine cannot start a 32-bit one. Exits 77,
# so that a test can tell this from a failure.
if [ "$CORVANE_PREFIX_ARCH" = win32 ] && ! corvane_runs_32bit; then
    echo "sample-machine: this host runs no 32-bit code, so it cannot make the 32-bit Windows of '$profile'" >&2
    exit 77
fi
export CORVANE_PREFIX_ARCH
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
template=$build/machines/pristine-$CORVANE_PREFIX_ARCH
"$root/scripts/wine-prefix.sh" "$template"

if [ -e "$prefix" ]; then
    if [ -f "$prefix/.corvane-machine" ]; then
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    elif [ -n "$(ls -A "$prefix")" ]; then
        fail "$prefix exists and was not made by sample-machine.sh; not replacing it"
    fi
fi
"$root/scripts/wine-prefix.sh" "$prefix" "$template"
echo "$profile" >"$prefix/.corvane-machine"

# The Unix folder and file name of a Windows path on drive C:. Existing folders are found whatever the
# case of their names, as Windows would.
resolve() {
    local path=$1 folder part
    [[ $path =~ ^[Cc]:\\ ]] || fail "$path: only paths on drive C: can be set up"
    IFS='\' read -ra parts <<<"${path:3}"
    folder=$prefix/drive_c
    for part in "${parts[@]:0:${#parts[@]}-1}"; do
        local found
        found=$(find "$folder" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null || true)
        folder=${found:-$folder/$part}
    done
    resolved_folder=$folder
    resolved_name=${parts[${#parts[@]}-1]}
}

# Takes away every file of that name in any case. The copy shares its files with the pristine prefix
# through hard links: a file is always unlinked and written anew, never written through.
unlink_name() {
    [ -d "$1" ] && find "$1" -mindepth 1 -maxdepth 1 -iname "$2" -exec rm -f {} +
    return 0
}

for step in "${steps[@]}"; do
    IFS='|' read -r verb source target <<<"$step"
    resolve "$target"
    unlink_name "$resolved_folder" "$resolved_name"
    if [ "$verb" = install ]; then
        mkdir -p "$resolved_folder"
        cp "$source" "$resolved_folder/$resolved_name"
    fi
done

if [ ${#registry_files[@]} -gt 0 ]; then
    # One regedit run for all files, in order: the first file's header, then the others' contents.
    combined=$(mktemp "$build/machines/import-XXXXXX.reg")
    trap 'rm -f "$combined"' EXIT
    cat "${registry_files[0]}" >"$combined"
    for file in "${registry_files[@]:1}"; do
        printf '\n' >>"$combined"
        tail -n +2 "$file" >>"$combined"
    done
    # The 64-bit regedit of a 64-bit machine writes both registry views: the 32-bit one is WOW6432Node.
    WINEPREFIX=$prefix corvane_prefix_wine "$CORVANE_PREFIX_ARCH" regedit /S "Z:${combined//\//\\}" </dev/null >/dev/null 2>&1 ||
        fail "regedit could not import the registry files of '$profile'"
    # The registry reaches the prefix's files when the wineserver ends.
    WINEPREFIX=$prefix wineserver -w
fi
