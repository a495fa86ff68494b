#!/usr/bin/env bash
# check-watch-events.sh <watch_events>
# Runs watch_events in a directory of its own (the monitor writes its logs
# to the current directory) and checks the events of each scripted change.
set -euo pipefail
program=$1
work=$(mktemp -d /tmp/watch-events-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
# count <file> <pattern>
count() { grep -c -- "$2" "$1" || true; }

"$program" --fresh --polls 3 > fresh.txt || fail "watch_events --fresh exited with $?"
[ "$(count fresh.txt '^event 207 ')" = 2 ] || fail "a fresh run did not report both controllers as added"

"$program" --polls 20 --change disk-fails > disk.txt || fail "watch_events --change disk-fails exited with $?"
[ "$(count disk.txt '^event 207 ')" = 0 ] || fail "a second run reported controllers as added"
[ "$(count disk.txt '^event 404 .*address 0/0/-/0/0')" = 1 ] || fail "the failed disk gave no defunct-drive event"

"$program" --fresh --polls 20 --change rebuild-ends > rebuild.txt || fail "watch_events --change rebuild-ends exited with $?"
[ "$(count rebuild.txt '^event 305 ')" = 1 ] || fail "the ended rebuild was not reported once"

# The Pelm monitor: a fresh run adds both controllers, and the failed disk
# shows at the 60-second refresh.
"$program" --family pelm --fresh --polls 70 --change disk-fails > pelm.txt ||
    fail "watch_events --family pelm exited with $?"
[ "$(count pelm.txt '^event 207 ')" = 2 ] || fail "a fresh Pelm run did not report both controllers as added"
[ "$(count pelm.txt '^event 404 .*address 0/-/-/0/0')" = 1 ] || fail "the failed Pelm disk gave no defunct-drive event"

"$program" --polls 0 > /dev/null 2>&1 && fail "--polls 0 was accepted"
"$program" --change bogus > /dev/null 2>&1 && fail "a bad change was accepted"
"$program" --family bogus > /dev/null 2>&1 && fail "a bad family was accepted"
# Events that cannot be written fail the program (2) with a message; a
# requested help is no error.
status=0
"$program" --polls 3 > /dev/full 2> full.err || status=$?
[ "$status" = 2 ] || fail "watch_events to a full device exited with $status, expected 2"
grep -q 'cannot be written' full.err || fail "watch_events gave no message for the full device"
"$program" --help > help.txt 2> help.err || fail "watch_events --help exited with $?"
grep -q '^usage: watch_events' help.txt || fail "watch_events --help printed no usage"
[ ! -s help.err ] || fail "watch_events --help wrote to standard error"
echo "watch_events: scripted changes checked"
