#!/usr/bin/env bash
# check-show-config.sh <show_config> <xmllint> <folder of libtarnellapi.so>
# Runs show_config in a directory of its own (the library writes its logs to
# the current directory) and checks its documents with xmllint. The library
# path names the simulator's folder, since under a sanitizer the core's own
# RUNPATH does not reach it.
set -euo pipefail
program=$1
xmllint=$2
libdir=$3
work=$(mktemp -d /tmp/show-config-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
export LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"

fail() { echo "FAIL: $*" >&2; exit 1; }
# expect <file> <xpath> <expected value>
expect() {
    local got
    got=$("$xmllint" --xpath "$2" "$1") || fail "$2: no answer"
    [ "$got" = "$3" ] || fail "$2 is '$got', expected '$3'"
}

"$program" > config.xml || fail "show_config exited with $?"
"$xmllint" --noout config.xml || fail "the configuration is not well-formed"
expect config.xml 'count(/System/Controller)' 2
expect config.xml 'string(/System/Controller[1]/@deviceName)' 'ZEQ Tarnell B2'
expect config.xml 'string(/System/Controller[2]/@deviceName)' 'ZEQ Tarnell C0'
# Hard drives (the pulled and the unknown disk of controller 2 are not listed).
expect config.xml 'count(/System/Controller[1]//HardDrive)' 18
expect config.xml 'count(/System/Controller[2]//HardDrive)' 22
# Logical drives: 5 top-level drives and 2 sub-logical drives on controller 2,
# 4 and 2 on controller 5.
expect config.xml 'count(/System/Controller[1]//LogicalDrive | /System/Controller[1]//HLogicalDrive)' 7
expect config.xml 'count(/System/Controller[2]//LogicalDrive | /System/Controller[2]//HLogicalDrive)' 6
# The rebuild of disk 1:3 into the critical RAID-5 drive 3.
expect config.xml 'count(/System/Controller[1]//HardDrive[@channelID="1" and @deviceID="3" and @state="5"])' 1
expect config.xml 'count(/System/Controller[1]//LogicalDrive[@logicalDriveID="3" and @state="3"])' 1

"$program" --tasks > tasks.xml || fail "show_config --tasks exited with $?"
"$xmllint" --noout tasks.xml || fail "the task list is not well-formed"
expect tasks.xml 'count(/TaskList/ProgressCollection)' 2
# Controller 2 rebuilds (type 6) in progress (status 2) at 35 %.
expect tasks.xml 'count(/TaskList/ProgressCollection[1]/Progress[@type="6" and @status="2" and @percent="35"])' 1

"$program" --bogus > /dev/null 2>&1 && fail "a bad argument was accepted"

# A document that cannot be written is a failure (2), in both modes.
for mode in "" --tasks; do
    status=0
    "$program" $mode > /dev/full 2> full.err || status=$?
    [ "$status" = 2 ] || fail "show_config $mode to a full device exited with $status, expected 2"
    grep -q 'cannot be written' full.err || fail "show_config $mode gave no message for the full device"
done

# A controller library that cannot be opened: standard output still holds a
# well-formed document of an empty system (exit 1), and the library's line
# about the failed load goes to standard error.
mkdir nolib
echo "not a library" > nolib/libtarnellapi.so
for mode in "" --tasks; do
    root=System
    [ -z "$mode" ] || root=TaskList
    status=0
    LD_LIBRARY_PATH="$work/nolib" "$program" $mode > empty.xml 2> empty.err || status=$?
    [ "$status" = 1 ] || fail "show_config $mode without a controller library exited with $status, expected 1"
    "$xmllint" --noout empty.xml || fail "show_config $mode without a controller library wrote no document"
    expect empty.xml "count(/$root[not(*)])" 1
    grep -q 'Dll loading failed' empty.err || fail "show_config $mode: no line about the failed load on standard error"
done

echo "show_config: configuration and task list checked"
