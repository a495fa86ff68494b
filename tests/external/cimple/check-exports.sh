#!/bin/sh
# check-exports.sh LIBRARY [--allow PATTERN]... SYMBOL...: the library's
# dynamic symbol table defines exactly the given symbols, besides any that
# match an allowed shell pattern.
lib=$1
shift
allowed=""
while [ "$1" = "--allow" ]; do
    allowed="$allowed $2"
    shift 2
done
actual=$(nm -D --defined-only "$lib" | awk '{print $NF}' | while read -r sym; do
    keep=yes
    for pattern in $allowed; do
        case $sym in $pattern) keep=no ;; esac
    done
    [ $keep = yes ] && echo "$sym"
done | sort) || exit 1
expected=$(printf '%s\n' "$@" | sort)
if [ "$actual" != "$expected" ]; then
    echo "exported by $lib:"
    echo "$actual"
    echo "expected:"
    echo "$expected"
    exit 1
fi
