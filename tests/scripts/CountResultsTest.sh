#!/usr/bin/env bash
# scripts/count-results on made-up build trees: per-case counts of GoogleTest programs,
# programs that crash or fail after their cases, and tests that are not GoogleTest.
#   CountResultsTest.sh <count-results> <scratch folder>
set -uo pipefail
count=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
errors=0

# junit <dir> <name:status>...: the ctest results file of one run.
junit() {
  local dir=$1; shift
  mkdir -p "$dir/test-results"
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    printf '<testsuite name="(empty)"\n\ttests="%s"\n\tfailures="0"\n\t>\n' "$#"
    for entry in "$@"; do
      printf '\t<testcase name="%s" classname="%s" time="0.5" status="%s">\n' \
        "${entry%%:*}" "${entry%%:*}" "${entry#*:}"
      printf '\t\t<system-out>[  PASSED  ] 3 tests.</system-out>\n\t</testcase>\n'
    done
    echo '</testsuite>'
  } >"$dir/ctest-results.xml"
}

# gtest <file> <tests> <failures> <disabled> <skipped per suite>...: one program's results.
gtest() {
  local file=$1 tests=$2 failures=$3 disabled=$4; shift 4
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites tests=\"$tests\" failures=\"$failures\" disabled=\"$disabled\" errors=\"0\" time=\"0\" name=\"AllTests\">"
    local n=0
    for skipped in "$@"; do
      n=$((n + 1))
      echo "  <testsuite name=\"S$n\" tests=\"1\" failures=\"0\" disabled=\"0\" skipped=\"$skipped\" errors=\"0\" time=\"0\">"
      echo "    <testcase name=\"T\" status=\"run\" result=\"completed\" time=\"0\" classname=\"S$n\" />"
      echo '  </testsuite>'
    done
    echo '</testsuites>'
  } >"$file"
}

expect() { # expect <case> <dir> <expected "passed failed skipped">
  local got
  got=$("$count" "$2" 2>"$2/notes.txt")
  if [ "$got" != "$3" ]; then
    echo "FAILED $1: expected '$3', got '$got'"; cat "$2/notes.txt"
    errors=$((errors + 1))
  else
    echo "ok $1"
  fi
}

# Cases of passing programs, a skip and a disabled case, plus a non-GoogleTest test.
d=$work/passing
junit "$d" alpha_tests:run beta_tests:run fuzz_run:run
printf 'alpha_tests\nbeta_tests\n' >"$d/gtest-programs.txt"
gtest "$d/test-results/alpha_tests.xml" 75 0 0 0 0
gtest "$d/test-results/beta_tests.xml" 12 0 1 1 0 1
expect "cases, skips and disabled cases are counted, a fuzz run is one" "$d" "85 0 3"

# Failing cases, a crash without results, a leak report after passing cases, a
# failed script and a test that did not run.
d=$work/failing
junit "$d" alpha_tests:fail crash_tests:fail leak_tests:fail seeds:fail render_tests:notrun
printf 'alpha_tests\ncrash_tests\nleak_tests\nrender_tests\n' >"$d/gtest-programs.txt"
gtest "$d/test-results/alpha_tests.xml" 10 3 0 0
gtest "$d/test-results/leak_tests.xml" 7 0 0 0
expect "failed cases, crashes, exit errors and not-run programs" "$d" "14 7 0"

# A program that ctest ran but that left no results counts as failed, even if it passed.
d=$work/silent
junit "$d" alpha_tests:run
echo alpha_tests >"$d/gtest-programs.txt"
expect "a passing program without results" "$d" "0 1 0"

d=$work/empty
mkdir -p "$d"
expect "no ctest results at all" "$d" "0 1 0"

[ "$errors" -eq 0 ]
