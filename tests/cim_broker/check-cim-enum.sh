#!/bin/sh
# check-cim-enum.sh CIM_ENUM TEST_MODULE EXPECTED_DIR: cim_enum prints the
# test module's instances as the expected MOF text, loads libkrnacim by
# default, and answers 1 for a class no provider enumerates (or with
# --indications, a module that delivers no alert indications), 2 for bad
# arguments and for output that cannot be written. (What it prints of
# libkrnacim is the provider tests' part.)
cim_enum=$1
module=$2
expected=$3
fail() {
    echo "$*"
    exit 1
}
for cls in TEST_Widget TEST_Link; do
    out=$("$cim_enum" --module "$module" --namespace root/test "$cls") || fail "$cls: exit $?"
    [ "$out" = "$(cat "$expected/$cls.mof")" ] || fail "$cls: printed
$out"
done
expect_exit() {
    want=$1
    shift
    "$cim_enum" "$@" >/dev/null 2>&1
    got=$?
    [ "$got" = "$want" ] || fail "cim_enum $*: exit $got, not $want"
}
expect_exit 1 --module "$module" --namespace root/test TEST_Alert
expect_exit 1 --module "$module" TEST_Nothing
# The module by default is libkrnacim, which serves no such class.
"$cim_enum" KRNA_Nothing 2>&1 | grep -q 'libkrnacim.so enumerates KRNA_Nothing' ||
    fail "the default module is not libkrnacim"
expect_exit 1 KRNA_Nothing
expect_exit 2
expect_exit 2 1Widget
expect_exit 2 --namespace
expect_exit 2 --bogus TEST_Widget
expect_exit 2 TEST_Widget TEST_Link
expect_exit 2 --module /nonexistent/libnothing.so TEST_Widget
# Output that cannot be written fails (2) with a message, for a listing and
# for a method's answer; a requested help goes to standard output.
for args in "TEST_Widget" "--invoke TEST_Widget.CreationClassName=TEST_Widget,Name=w1 Poke Times=2"; do
    status=0
    err=$("$cim_enum" --module "$module" --namespace root/test $args 2>&1 >/dev/full) || status=$?
    [ "$status" = 2 ] || fail "cim_enum $args to a full device: exit $status, not 2"
    case "$err" in *"cannot be written"*) ;; *) fail "cim_enum $args: no message for the full device: $err" ;; esac
done
"$cim_enum" --help 2>/dev/null | grep -q '^usage: cim_enum' || fail "cim_enum --help printed no usage"
expect_exit 0 --help
# --indications takes whole seconds from 1 to 3600 and no class; a module
# without an alert-indication provider answers 1.
expect_exit 1 --module "$module" --namespace root/test --indications 1
for bad in "" 0 3601 -1 2x; do
    expect_exit 2 --module "$module" --indications $bad
done
expect_exit 2 --module "$module" --indications 1 TEST_Widget
expect_exit 2 --module "$module" TEST_Widget --indications 1
exit 0
