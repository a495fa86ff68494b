#!/bin/sh
# check-legacy-exports.sh <libtarnellcore.so> <storjdllnatives.h>
# The library's dynamic symbol table defines exactly the StorageDLL natives of
# the table, by their export names (the overloads' with their parameter
# lists), and DlInit, DlTerm and GetDllPointer.
set -eu
library=$1
table=$2
prefix=Java_com_zeq_sysmgt_storage_base_StorageDLL_
symbols=$(nm -D --defined-only "$library")

# The rows, one per line: X(KIND, result, name, export, ...
expected=$(tr '\n' ' ' <"$table" | sed 's/\\ / /g' |
    grep -o 'X([A-Z]*, *[a-z]*, *[A-Za-z0-9_]*, *[A-Za-z0-9_]*' | sed 's/.*, *//' | sort)
count=$(printf '%s\n' "$expected" | grep -c .)
if [ "$count" -eq 0 ]; then
    echo "no rows found in $table"
    exit 1
fi
exported=$(printf '%s\n' "$symbols" | sed -n "s/^[0-9a-f]* T $prefix\([A-Za-z0-9_]*\)\$/\1/p" | sort)
if [ "$expected" != "$exported" ]; then
    echo "exported natives differ from the table"
    echo "table:" $expected
    echo "exported:" $exported
    exit 1
fi
for entry in DlInit DlTerm GetDllPointer; do
    printf '%s\n' "$symbols" | grep -Eq "^[0-9a-f]+ T $entry\$" || { echo "$entry is not exported"; exit 1; }
done
echo "$count natives, DlInit, DlTerm and GetDllPointer exported"
