#!/usr/bin/env bash
# The soak run (`make soak`, not part of `make test`): the launcher killed at 200 random moments
# of its save, then 20 seeds of 2,000 steps of random use against a model of the catalogue, all
# seeds random (make test runs fixed ones). Both print their seeds; OL_KILL_SEED or
# OL_RANDOM_SEED (with OL_RANDOM_STEPS) reruns one.
set -uo pipefail
cd "$(dirname "$0")/../build/windows/bin"
runner=../wine-run.sh
status=0
OL_KILL_TRIALS=${OL_KILL_TRIALS:-200} "$runner" kill_save_tests.exe --gtest_filter='*NoFilesPileUp*' | tee ../soak-kill.log || status=1
OL_RANDOM_SEED=${OL_RANDOM_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')} \
  OL_UNMANAGED_WINDOWS=1 OL_RANDOM_SEEDS=${OL_RANDOM_SEEDS:-20} OL_RANDOM_STEPS=${OL_RANDOM_STEPS:-2000} \
  "$runner" random_use_tests.exe | tee ../soak-random.log || status=1
echo
grep -ah '\[ SOAK' ../soak-kill.log ../soak-random.log | tr -d '\r'
exit $status
