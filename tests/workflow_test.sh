#!/bin/sh
# The CI workflows checked with action-validator (npm's @action-validator/cli,
# which needs no network when it runs): each must pass, and a copy of the
# first with a misspelt key must fail, so a validator that accepts anything
# is caught too; and make is installed before a step runs it.
# Usage: workflow_test.sh WORKFLOWS_DIR
set -e
dir=$1
validator=$(command -v action-validator) || { echo "action-validator is missing: make deps installs it" >&2; exit 1; }
status=0
for f in "$dir"/*.yml; do
    "$validator" "$f" || { echo "FAIL $f" >&2; status=1; }
done
# A job's container (a bare Debian image) has no make until the dependencies'
# script has installed it: that step comes before any that runs make.
for f in "$dir"/*.yml; do
    awk '/run: sh scripts\/install-deps.sh/ { deps = 1 }
         /run: make/ && !deps { print "FAIL " FILENAME ":" FNR ": make before scripts/install-deps.sh"; bad = 1 }
         END { exit bad }' "$f" >&2 || status=1
done
broken=$(mktemp --suffix=.yml)
trap 'rm -f "$broken"' EXIT
first=$(ls "$dir"/*.yml | head -n 1)
sed 's/^\(\s*\)runs-on:/\1runs-onn:/' "$first" > "$broken"
if "$validator" "$broken" >/dev/null 2>&1; then
    echo "FAIL the validator accepted a workflow with a misspelt key" >&2
    status=1
fi
exit $status
