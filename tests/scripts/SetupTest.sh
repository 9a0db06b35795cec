#!/usr/bin/env bash
# scripts/setup as root, as a user with sudo and as a user without it, against stand-ins for dpkg-query, id,
# sudo and apt-get that record what they were asked (nothing is installed). MISSING names the packages the
# stand-in dpkg-query reports as not installed.
set -uo pipefail
setup="$1"
source "$(dirname "$0")/Checks.sh"

bin="$work/bin"
mkdir -p "$bin"
cat >"$bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
for p in $MISSING; do [ "$p" = "${@: -1}" ] && exit 1; done
printf 'install ok installed'
STUB
cat >"$bin/id" <<'STUB'
#!/usr/bin/env bash
echo "$UID_GIVEN"
STUB
cat >"$bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $* (frontend=${DEBIAN_FRONTEND:-unset})" >>"$LOG"
STUB
cat >"$bin/sudo" <<'STUB'
#!/usr/bin/env bash
# sudo resets the environment: only what the command line sets reaches the command.
echo "sudo $*" >>"$LOG"
exec env -u DEBIAN_FRONTEND "$@"
STUB
chmod +x "$bin"/*
# Every tool the script needs besides the stand-ins, without sudo.
plain="$work/plain"
mkdir -p "$plain"
for tool in bash env grep cat; do ln -s "$(command -v $tool)" "$plain/$tool"; done

run() { # uid, with sudo (yes/no), missing packages
    rm -f "$work/log"
    local path="$bin:$plain"
    [ "$2" = yes ] || { mkdir -p "$work/nosudo"; cp "$bin"/{dpkg-query,id,apt-get} "$work/nosudo/"; path="$work/nosudo:$plain"; }
    env -i PATH="$path" UID_GIVEN="$1" MISSING="$3" LOG="$work/log" bash "$setup" >"$work/out" 2>&1
    status=$?
    log="$(cat "$work/log" 2>/dev/null)"
    out="$(cat "$work/out")"
}

run 1000 no "cmake ffmpeg"
[ "$status" -ne 0 ] || fail "a user without sudo: the script must fail"
grep -q "as root or with sudo" <<<"$out" || fail "a user without sudo is told to run it as root or with sudo: $out"
grep -q "cmake ffmpeg" <<<"$out" || fail "the missing packages are named: $out"
[ -z "$log" ] || fail "nothing is installed without root: $log"

run 1000 yes "cmake ffmpeg"
[ "$status" -eq 0 ] || fail "a user with sudo: $out"
grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends cmake ffmpeg$" <<<"$log" ||
    fail "the install goes through sudo with the non-interactive front end: $log"
grep -q "^apt-get install .*(frontend=noninteractive)$" <<<"$log" || fail "apt-get sees the front end: $log"

run 0 no "xvfb"
[ "$status" -eq 0 ] || fail "root: $out"
grep -q "^apt-get install -y --no-install-recommends xvfb (frontend=noninteractive)$" <<<"$log" ||
    fail "root installs at once, non-interactively: $log"

run 1000 no ""
[ "$status" -eq 0 ] && [ -z "$log" ] || fail "nothing missing: nothing to do, no root needed ($status): $out $log"

[ "$failures" -eq 0 ] && echo "scripts/setup: all cases passed"
exit "$failures"
