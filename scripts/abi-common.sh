# What abi-baseline.sh and abi-check.sh share; sourced by both.

# The library a build made: its real file, which carries the debug information.
abi_library() {
    local library="$1/evaluator/libpelmora.so"
    [ -e "$library" ] || { echo "no $library: build it first (BUILD_SHARED_LIBS=ON)" >&2; return 1; }
    readlink -f "$library"
}

# The ABI of the types in the public headers, without paths, so that any clone writes the same.
abi_dump() {
    local library
    library=$(abi_library "$1")
    abidw --headers-dir "$root/include/pelmora" --headers-dir "$1/include/pelmora" \
        --drop-private-types --exported-interfaces-only \
        --no-corpus-path --no-comp-dir-path --no-show-locs \
        --out-file "$2" "$library"
}
