#!/usr/bin/env bash
# Configuring without a dependency stops with an error that names what to install,
# instead of leaving targets out.
#   ConfigureErrorsTest.sh <source folder> <scratch folder>
set -uo pipefail
source=$1
work=$2
rm -rf "$work"
errors=0

expect_error() { # expect_error <case> <text the error must contain> <cmake args...>
  local name=$1 text=$2 dir=$work/$3; shift 2
  if cmake -S "$source" -B "$dir" -G Ninja "${@:2}" >"$dir.log" 2>&1; then
    echo "FAILED $name: configure succeeded"; errors=$((errors + 1))
  elif ! grep -qF "$text" "$dir.log"; then
    echo "FAILED $name: the error does not mention '$text'"; cat "$dir.log"; errors=$((errors + 1))
  else
    echo "ok $name"
  fi
}

mkdir -p "$work"
expect_error "no VST 3 SDK" "juce-modules-source" sdk -DVST3_SDK_DIR=/nonexistent
expect_error "no clang for the fuzz targets" "libclang-rt-14-dev" clang -DMERO_CLANGXX=/nonexistent/clang++
expect_error "benchmarks without the tests they check against" "MERO_BENCH needs MERO_TESTS" bench \
  -DMERO_TESTS=OFF -DMERO_BENCH=ON
[ "$errors" -eq 0 ]
