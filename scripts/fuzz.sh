#!/usr/bin/env bash
# Coverage-guided fuzzing of the texts the game reads but did not write itself:
# the window placement, a stored high-score row, the whole settings file, and
# the settings file read and written by the store and by Qt's own class.
#   scripts/fuzz.sh [seconds-per-target]      (default 300; a new random seed each run)
#   scripts/fuzz.sh --ci                      (what .ci/run does: the same answer for the same commit)
# Builds the libFuzzer programs with clang in build-fuzz/. With --ci each
# target first runs every input kept in fuzz/corpus/<target>/ and
# fuzz/regressions/<target>/ once, then fuzzes a fixed number of runs from a
# fixed seed. Otherwise all targets run side by side for the given time, with
# fuzz/dict/<target>.dict where there is one. New corpus entries stay in a temporary
# folder; an input that crashes a target, breaks one of its properties or trips
# a sanitizer is kept in fuzz/regressions/<target>/ (the fuzzregress tests
# replay it from then on) and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
ci=0
if [[ "${1:-}" == "--ci" ]]; then
  ci=1
  shift
fi
seconds="${1:-300}"
targets=(placement score_row settings qt_differential)
# --ci: libFuzzer draws the same inputs from the same seed, runs and corpus.
ci_seed=20261211
ci_runs=20000

CC=clang-14 CXX=clang++-14 BUILD_DIR=build-fuzz \
  CMAKE_ARGS="-DQUIBBIX_FUZZ=ON -DQUIBBIX_TESTS=OFF -DQUIBBIX_BENCH=OFF" scripts/setup.sh --tests

work="$(mktemp -d "${TMPDIR:-/tmp}/quibbix-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if ((ci)); then
  for t in "${targets[@]}"; do
    kept=()
    for d in "fuzz/corpus/$t" "fuzz/regressions/$t"; do
      [[ -d "$d" ]] && while IFS= read -r -d '' f; do kept+=("$f"); done < <(find "$d" -type f -print0 | sort -z)
    done
    mkdir -p "$work/$t/tmp"
    if ! TMPDIR="$work/$t/tmp" "build-fuzz/fuzz/fuzz_$t" "${kept[@]}" >"$work/$t/replay.log" 2>&1; then
      echo "---- $t: a kept input fails" >&2
      grep -vE '^(Running|Executed|INFO)' "$work/$t/replay.log" | tail -n 40 >&2
      exit 1
    fi
    echo "$t: ${#kept[@]} kept inputs replayed"
  done
fi

declare -A pids statuses
for t in "${targets[@]}"; do
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts" "$work/$t/tmp"
  dict=()
  [[ -f "fuzz/dict/$t.dict" ]] && dict=(-dict="fuzz/dict/$t.dict")
  how=(-max_total_time="$seconds")
  ((ci)) && how=(-seed="$ci_seed" -runs="$ci_runs")
  # The settings target makes its private settings folder under TMPDIR.
  TMPDIR="$work/$t/tmp" "build-fuzz/fuzz/fuzz_$t" "${how[@]}" -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" "${dict[@]}" \
    "$work/$t/corpus" "fuzz/corpus/$t" >"$work/$t/log" 2>&1 &
  pids[$t]=$!
  # One at a time for the same answer on any machine; side by side otherwise.
  if ((ci)); then
    statuses[$t]=0
    wait "${pids[$t]}" || statuses[$t]=$?
  fi
done

failed=0
passed=0
printf '%-10s %8s %10s %7s %7s %9s %8s  %s\n' target status execs exec/s cov ft new-units result
for t in "${targets[@]}"; do
  status=0
  if ((ci)); then
    status=${statuses[$t]}
  else
    wait "${pids[$t]}" || status=$?
  fi
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
if ((ci)); then
  echo "seed $ci_seed, $ci_runs runs per target; failing inputs go to fuzz/regressions/ for the fuzzregress tests"
else
  echo "${seconds}s per target; failing inputs go to fuzz/regressions/ for the fuzzregress tests"
fi
echo "fuzzing: $passed passed, $failed failed"
((failed == 0))
