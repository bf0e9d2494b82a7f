#!/usr/bin/env bash
# Coverage-guided fuzzing of the texts the game reads but did not write itself:
# the window placement, a stored high-score row and the whole settings file.
#   scripts/fuzz.sh [seconds-per-target]      (default 300)
# Builds the libFuzzer programs with clang in build-fuzz/ and runs all targets
# side by side for the given time, with fuzz/dict/<target>.dict where there is one. New corpus entries stay in a temporary
# folder; an input that crashes a target, breaks one of its properties or trips
# a sanitizer is kept in fuzz/regressions/<target>/ (the fuzzregress tests
# replay it from then on) and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
targets=(placement score_row settings)

CC=clang-14 CXX=clang++-14 BUILD_DIR=build-fuzz \
  CMAKE_ARGS="-DQUIBBIX_FUZZ=ON -DQUIBBIX_TESTS=OFF -DQUIBBIX_BENCH=OFF" scripts/setup.sh --tests

work="$(mktemp -d "${TMPDIR:-/tmp}/quibbix-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

declare -A pids
for t in "${targets[@]}"; do
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts" "$work/$t/tmp"
  dict=()
  [[ -f "fuzz/dict/$t.dict" ]] && dict=(-dict="fuzz/dict/$t.dict")
  # The settings target makes its private settings folder under TMPDIR.
  TMPDIR="$work/$t/tmp" "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" "${dict[@]}" \
    "$work/$t/corpus" "fuzz/corpus/$t" >"$work/$t/log" 2>&1 &
  pids[$t]=$!
done

failed=0
passed=0
printf '%-10s %8s %10s %7s %7s %9s %8s  %s\n' target status execs exec/s cov ft new-units result
for t in "${targets[@]}"; do
  status=0
  wait "${pids[$t]}" || status=$?
  log="$work/$t/log"
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
  last=$(grep -E '^#[0-9]+[[:space:]].*cov: ' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  result=ok
  if ((status != 0)) || compgen -G "$work/$t/artifacts/*" >/dev/null; then
    failed=$((failed + 1))
    result="FAILED (exit $status)"
    if compgen -G "$work/$t/artifacts/*" >/dev/null; then
      mkdir -p "fuzz/regressions/$t"
      cp "$work/$t/artifacts/"* "fuzz/regressions/$t/"
      result+="; kept in fuzz/regressions/$t/: $(cd "$work/$t/artifacts" && echo *)"
    fi
    {
      echo "---- $t: end of the log"
      grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)' "$log" | tail -n 60
    } >&2
  else
    passed=$((passed + 1))
  fi
  printf '%-10s %8s %10s %7s %7s %9s %8s  %s\n' "$t" "$status" "$(stat number_of_executed_units)" \
    "$(stat average_exec_per_sec)" "${cov:-?}" "${ft:-?}" "$(stat new_units_added)" "$result"
done
echo "${seconds}s per target; failing inputs go to fuzz/regressions/ for the fuzzregress tests"
echo "fuzzing: $passed passed, $failed failed"
((failed == 0))
