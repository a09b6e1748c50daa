#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time.
#
#   scripts/fuzz.sh [SECONDS]      (default: 60 seconds per target)
#
# Each target grows its corpus in build-fuzz/corpus/<target> (starting from fuzz/seeds/<target>;
# the passes' two targets share their seeds)
# and leaves a crashing input in build-fuzz/crashes/<target>/, its log in build-fuzz/logs/.
# Exits non-zero when any target found a crash, a leak or a timeout.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=build-fuzz
targets=(fuzz_passes fuzz_pass_bytes fuzz_extract fuzz_presets fuzz_taglist)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DWG_FUZZ=ON -DWG_BENCH=OFF \
	>/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for target in "${targets[@]}"; do
	corpus=$build/corpus/$target
	crashes=$build/crashes/$target
	log=$build/logs/$target.log
	mkdir -p "$corpus" "$crashes" "$build/logs"

	echo "== $target: $seconds s"
	"$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -max_len=8192 \
		-print_final_stats=1 -artifact_prefix="$crashes/" \
		"$corpus" "fuzz/seeds/${target/fuzz_pass_bytes/fuzz_passes}" >"$log" 2>&1
	status=$?

	runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
	coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n1)
	echo "   exit $status, ${runs:-?} runs, ${coverage:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs"
	if [ "$status" -ne 0 ]; then
		failed+=("$target")
		grep -E 'ERROR:|runtime error|SUMMARY|Test unit written' "$log" | head -n 8 | sed 's/^/   /'
	fi
done

if [ ${#failed[@]} -gt 0 ]; then
	echo "found something: ${failed[*]} (see $build/logs and $build/crashes)"
	exit 1
fi
echo "nothing found"
