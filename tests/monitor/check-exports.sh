#!/bin/sh
# Checks that a monitor library exports, as global symbols of default
# visibility: the debug mask NRMDebugFlag, the three NRMEvent constructors,
# the three operations of BaseRaidMonitor that the provider module calls by
# name (getNumberOfEvents, getEvents(NRMEvent*, int), isStopped), its own heap
# deleter and the global allocation operators.
# Usage: check-exports.sh <library> <deleter name>
lib=$1
deleter=$2
syms=$(readelf --dyn-syms -W "$lib") || exit 1
status=0
for name in NRMDebugFlag \
        '_ZN8NRMEventC1Ev' \
        '_ZN8NRMEventC1EiiNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEES5_' \
        '_ZN8NRMEventC1Eii.*4Addr.*' \
        _ZN15BaseRaidMonitor17getNumberOfEventsEv _ZN15BaseRaidMonitor9getEventsEP8NRMEventi \
        _ZN15BaseRaidMonitor9isStoppedEv \
        "$deleter" '_Znw[jm]' '_Zna[jm]' _ZdlPv _ZdaPv; do
    # Num: Value Size Type Bind Vis Ndx Name
    if ! printf '%s\n' "$syms" | grep -Eq " GLOBAL +DEFAULT +[0-9]+ $name\$"; then
        echo "$lib: $name is not exported with default visibility"
        status=1
    fi
done
exit $status
