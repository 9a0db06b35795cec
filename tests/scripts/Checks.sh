# Sourced by the checks of the scripts: a work folder removed at the end, and fail to count what went wrong
# (the check's exit status is the count).
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
