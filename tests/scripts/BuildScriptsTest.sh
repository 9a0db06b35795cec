#!/usr/bin/env bash
# scripts/run and scripts/test in a copy of the scripts folder, against stand-ins for cmake, ctest and the
# package check that record what they were asked (nothing is built): scripts/run builds the runnable tree
# alone, scripts/test builds everything, and both configure the one build folder alike, warnings as errors,
# so that neither throws away what the other built.
set -uo pipefail
scripts="$1"
source "$(dirname "$0")/Checks.sh"

tree="$work/tree"
mkdir -p "$tree/build/dist" "$work/bin"
cp -r "$scripts" "$tree/scripts"
cat >"$tree/build/dist/QuorelMain" <<'STUB'
#!/usr/bin/env bash
echo "QuorelMain $*" >>"$LOG"
STUB
cat >"$work/bin/cmake" <<'STUB'
#!/usr/bin/env bash
echo "cmake $*" >>"$LOG"
STUB
cat >"$work/bin/ctest" <<'STUB'
#!/usr/bin/env bash
echo "ctest $*" >>"$LOG"
STUB
# Every package is installed.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
printf 'install ok installed'
STUB
chmod +x "$tree/build/dist/QuorelMain" "$work/bin"/*

run() { # script, arguments
    rm -f "$work/log"
    env -i PATH="$work/bin:/usr/bin:/bin" LOG="$work/log" bash "$tree/scripts/$1" "${@:2}" >"$work/out" 2>&1
    status=$?
    log="$(cat "$work/log" 2>/dev/null)"
}

run run /o film.mp4
[ "$status" -eq 0 ] || fail "scripts/run: $(cat "$work/out")"
runConfigure="$(grep '^cmake -S' <<<"$log")"
grep -qx "cmake --build build --target dist" <<<"$log" || fail "scripts/run builds the target dist alone: $log"
[ "$(grep -c '^cmake --build' <<<"$log")" -eq 1 ] || fail "scripts/run builds once: $log"
grep -qx "QuorelMain /o film.mp4" <<<"$log" || fail "scripts/run starts the program with its arguments: $log"

run test -R Startup
[ "$status" -eq 0 ] || fail "scripts/test: $(cat "$work/out")"
testConfigure="$(grep '^cmake -S' <<<"$log")"
grep -qx "cmake --build build" <<<"$log" || fail "scripts/test builds everything: $log"
grep -q "^ctest .* -R Startup$" <<<"$log" || fail "scripts/test passes its arguments to ctest: $log"

[ -n "$runConfigure" ] && [ "$runConfigure" = "$testConfigure" ] ||
    fail "both configure the build folder alike: '$runConfigure' and '$testConfigure'"
grep -q -- "-B build .*-DQUOREL_WERROR=ON" <<<"$runConfigure" || fail "warnings are errors: $runConfigure"

[ "$failures" -eq 0 ] && echo "scripts/run and scripts/test: all cases passed"
exit "$failures"
