#!/bin/sh
# Installs the library of build directory $1 to a fresh prefix under $2, then
# builds and runs the C consumer in $3 three times: with the flags of
# pkg-config, with the whole archive and -ldivsufsort -ldivsufsort64 -lm -lz alone, and as a CMake project
# using find_package(lumo). $4 is the C compiler, $5
# extra compile and link flags (the sanitizer flags of a sanitizer build).
set -eu
build=$1 work=$2 consumer=$3 cc=$4 extra=${5:-}

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" --component lumo

pc=$(find "$prefix" -name lumo.pc)
PKG_CONFIG_PATH=$(dirname "$pc")
export PKG_CONFIG_PATH
# shellcheck disable=SC2046,SC2086
"$cc" -std=c99 -Wall -Wextra -Wpedantic -Werror $extra -o "$work/pc_consumer" \
  "$consumer/consumer.c" $(pkg-config --cflags --libs lumo)
"$work/pc_consumer"

# Every object of the archive, not only those the consumer calls, links
# into a C program with the math library, zlib and libdivsufsort(64) alone: no C++
# runtime, no thread library (the C library holds POSIX threads).
archive=$(find "$prefix" -name liblumo.a)
# shellcheck disable=SC2086
"$cc" -std=c99 $extra -o "$work/whole_archive" "$consumer/consumer.c" -I"$prefix/include" \
  -Wl,--whole-archive "$archive" -Wl,--no-whole-archive -ldivsufsort -ldivsufsort64 -lm -lz
"$work/whole_archive"

cmake -S "$consumer" -B "$work/cmake-consumer" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$extra" -DCMAKE_EXE_LINKER_FLAGS="$extra"
cmake --build "$work/cmake-consumer"
"$work/cmake-consumer/lumo_consumer"
