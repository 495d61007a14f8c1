# Sourced by the release checks: check <case> <function> runs the function, prints
# "ok <case>", or "FAILED <case>" with the function's output indented below, and counts
# the failures in $errors.
check() {
  local name=$1 why
  if why=$("$2" 2>&1); then
    echo "ok $name"
  else
    echo "FAILED $name"
    sed 's/^/    /' <<<"$why"
    errors=$((errors + 1))
  fi
}
