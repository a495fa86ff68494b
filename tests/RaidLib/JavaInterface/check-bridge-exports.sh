#!/bin/sh
# check-bridge-exports.sh <libtarnellcore.so> <StorDataProcNatives.h>
# The library's dynamic symbol table defines exactly the natives of the table,
# by their JNI names, and GetTarnellCore and ReleaseTarnellCore.
set -eu
library=$1
table=$2
prefix=Java_com_zeq_sysmgt_raidmgr_dataproc_StorDataProc_
symbols=$(nm -D --defined-only "$library")

expected=$(sed -n 's/^ *X(\(OWN\|STUB\|STORAGE\|NOADDR\), j[a-z]*, \([A-Za-z0-9]*\),.*/\2/p' "$table" | sort)
count=$(printf '%s\n' "$expected" | grep -c .)
if [ "$count" -ne 51 ]; then
    echo "the table has $count natives, not 51"
    exit 1
fi
exported=$(printf '%s\n' "$symbols" | sed -n "s/^[0-9a-f]* T $prefix\([A-Za-z0-9_]*\)\$/\1/p" | sort)
if [ "$expected" != "$exported" ]; then
    echo "exported natives differ from the table"
    echo "table:" $expected
    echo "exported:" $exported
    exit 1
fi
for entry in GetTarnellCore ReleaseTarnellCore; do
    printf '%s\n' "$symbols" | grep -Eq "^[0-9a-f]+ T $entry\$" || { echo "$entry is not exported"; exit 1; }
done
echo "51 natives, GetTarnellCore and ReleaseTarnellCore exported"
