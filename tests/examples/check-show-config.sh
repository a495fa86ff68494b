#!/usr/bin/env bash
# check-show-config.sh <show_config> <xmllint>
# Runs show_config in a directory of its own (the library writes its logs to
# the current directory) and checks its documents with xmllint.
set -euo pipefail
program=$1
xmllint=$2
work=$(mktemp -d /tmp/show-config-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

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
echo "show_config: configuration and task list checked"
