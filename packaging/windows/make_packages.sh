#!/usr/bin/env bash
# The installers of both bitnesses and the 32-bit portable zip, from two finished cross-builds
# of the Windows program. Prints their paths, a line each: the 32-bit installer, the 64-bit
# installer, the zip. scripts/package-windows and the installer tests both make them here, so
# what is tested is what is shipped. WIN64_BUILD_DIR "-" leaves the 64-bit installer out.
# Usage: make_packages.sh WIN32_BUILD_DIR WIN64_BUILD_DIR|- OUTPUT_DIR
set -euo pipefail

build32=$1
build64=$2
output=$3
here=$(cd "$(dirname "$0")" && pwd)
version=1.02

mkdir -p "$output"
output=$(cd "$output" && pwd)
stage=$output/stage
rm -rf "$stage"

# Only what the program needs beside itself, laid out as its program folder has it.
stage_program() {  # build_dir folder
    cmake --install "$1" --component windows_program --prefix "$2" >/dev/null
    [[ -f $2/koyomivw.exe ]] || { echo "make_packages: $1 has no koyomivw.exe" >&2; exit 1; }
}

installers=()
for bits in 32 64; do
    if [[ $bits == 32 ]]; then build=$build32; else build=$build64; fi
    [[ $build == - ]] && continue
    stage_program "$build" "$stage/win$bits"
    setup=$output/koyomivw-$version-win$bits-setup.exe
    rm -f "$setup"
    makensis -V2 -WX -DPROGRAM_DIR="$stage/win$bits" -DBITS=$bits -DOUTFILE="$setup" \
        "$here/koyomivw.nsi" >&2
    installers+=("$setup")
done

# The zip holds one folder, so that unpacking it anywhere gives one folder to run from; without
# the installed marker the program keeps its data beside itself there.
zip=$output/koyomivw-$version-win32-portable.zip
rm -rf "$stage/portable" "$zip"
mkdir -p "$stage/portable"
cp -r "$stage/win32" "$stage/portable/koyomivw"
(cd "$stage/portable" && cmake -E tar cf "$zip" --format=zip koyomivw)
rm -rf "$stage"

printf '%s\n' "${installers[@]}" "$zip"
