# Sourced by the test scripts. run_parallel FUNCTION ITEM...: runs FUNCTION on
# each item, as many at once as there are cores; fails when any of them failed.
run_parallel() {
  local function=$1 failed=0 running=0 item
  shift
  for item in "$@"; do
    if [ "$running" -ge "$(nproc)" ]; then
      wait -n || failed=1
      running=$((running - 1))
    fi
    "$function" "$item" &
    running=$((running + 1))
  done
  while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
  done
  return "$failed"
}
