#!/bin/sh
# Checks that two monitor libraries export the same monitor-core names (the
# event record, its queue, the monitor base and the debug mask), as nm -D
# lists them: in a process holding both, the first one loaded serves these
# names to the other and to the provider module. Names of SES-2 enclosures
# and SAS phys are left out: a library built without that support lacks them.
# Usage: check-same-names.sh <library> <library>
core_names() {
    nm -D --defined-only "$1" | awk '{ print $NF }' | c++filt |
        grep -E '^(NRMDebugFlag$|NRMEvent::|NRMEventCollection::|BaseRaidMonitor::)' |
        grep -Ev 'SES2|SASPhy' | sort -u
}
first=$(core_names "$1") || exit 1
second=$(core_names "$2") || exit 1
if [ -z "$first" ]; then
    echo "$1: no monitor-core names exported"
    exit 1
fi
if [ "$first" != "$second" ]; then
    echo "the monitor-core names differ (< $1, > $2):"
    printf '%s\n' "$first" > "${TMPDIR:-/tmp}/core-names-1.$$"
    printf '%s\n' "$second" | diff "${TMPDIR:-/tmp}/core-names-1.$$" - | grep '^[<>]'
    rm -f "${TMPDIR:-/tmp}/core-names-1.$$"
    exit 1
fi
echo "$(printf '%s\n' "$first" | wc -l) monitor-core names in both libraries"
