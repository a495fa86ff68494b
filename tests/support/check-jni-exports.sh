#!/bin/sh
# check-jni-exports.sh <library> <class> <table> <column> <count> [<entry>...]
# The library's dynamic symbol table defines exactly the natives of the
# table's rows for the Java class (its JNI name with dots as underscores,
# such as com_zeq_sysmgt_storage_base_StorageDLL), and every further entry.
# A row is X(KIND, result, name, ...), and column (3 or more) holds the
# exported name after Java_<class>_. count is how many rows the table must
# have, or - for any number.
set -eu
library=$1
prefix=Java_$2_
table=$3
column=$4
want=$5
shift 5
symbols=$(nm -D --defined-only "$library")

# The macro's rows joined into one line; the name in the column of each.
skip=$((column - 3))
expected=$(tr '\n' ' ' <"$table" | sed 's/\\ / /g' |
    grep -o "X([A-Z]*, *[a-z]*\(, *[A-Za-z0-9_]*\)\{1,$((skip + 1))\}" |
    awk -F', *' -v c="$column" 'NF >= c { print $c }' | sort)
count=$(printf '%s\n' "$expected" | grep -c . || true)
if [ "$count" -eq 0 ] || { [ "$want" != - ] && [ "$count" -ne "$want" ]; }; then
    echo "the table has $count natives, not $want"
    exit 1
fi
exported=$(printf '%s\n' "$symbols" | sed -n "s/^[0-9a-f]* T $prefix\([A-Za-z0-9_]*\)\$/\1/p" | sort)
if [ "$expected" != "$exported" ]; then
    echo "exported natives differ from the table"
    echo "table:" $expected
    echo "exported:" $exported
    exit 1
fi
for entry in "$@"; do
    printf '%s\n' "$symbols" | grep -Eq "^[0-9a-f]+ T $entry\$" || { echo "$entry is not exported"; exit 1; }
done
echo "$count natives${*:+ and $*} exported"
