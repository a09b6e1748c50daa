#!/usr/bin/env bash
# Compares the cleaning passes with a sed pipeline on the same generated 2 MB page.
#
#   bench/sed_compare.sh [BUILD_DIR]     (default: build; bench_pipeline is built when missing)
#
# The sed side is an approximation: it joins table rows and puts line breaks before the same
# tags as AddBreaksInFile (sed cannot tell whether a tag sits inside a row that started on an
# earlier line, so it only asks whether the line holds "<tr"), then makes the 34 replacements of
# ReplaceCriticals in the same order. It counts no tags: TagCounter's numbering is beyond sed.
# Webgrazer's figure is that of all three passes, as bench_pipeline measures them.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
bench=$build/bench/bench_pipeline
if [ ! -x "$bench" ]; then
	[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
	cmake --build "$build" --target bench_pipeline >/dev/null
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
page=$tmp/page.html
"$bench" --write-page "$page"
bytes=$(stat -c %s "$page")

cat >"$tmp/breaks.sed" <<'EOF'
/<tr/{
:row
/<\/tr/!{
N
b row
}
s/[\r\n\t]//g
}
s/;d/;\r\nd/g
s/<\(di\|\/f\|\/sp\|img\)/\r\n&/g
/<tr/!s/<[ipzsa]/\r\n&/g
EOF

cat >"$tmp/criticals.sed" <<'EOF'
s/&nbsp;/ <sp>/g
s/<img/\n<img/g
s/<IMG/\n<IMG/g
s/&quot;/`/g
s/&Uuml;/\xc3\x9c/g
s/&uuml;/\xc3\xbc/g
s/&Auml;/\xc3\x84/g
s/&auml;/\xc3\xa4/g
s/&Ouml;/\xc3\x96/g
s/&ouml;/\xc3\xb6/g
s/&szlig;/\xc3\x9f/g
s/&deg;;/\xc2\xb0 C./g
s/&deg;/\xc2\xb0 C/g
s/&copy;/\xc2\xa9/g
s/&euro;/\xe2\x82\xac/g
s/&lt;br \/&gt;/ /g
s/<br \\\/>/ /g
s/ --/ /g
s/   / /g
s/  / /g
s/\xe4/\xc3\xa4/g
s/\xc4/\xc3\x84/g
s/\xf6/\xc3\xb6/g
s/\xfc/\xc3\xbc/g
s/\xdc/\xc3\x9c/g
s/\xdf/\xc3\x9f/g
s/  / /g
s/&#228;/\xc3\xa4/g
s/&#252;/\xc3\xbc/g
s/&#246;/\xc3\xb6/g
s/&#196;/\xc3\x84/g
s/&#220;/\xc3\x9c/g
s/&#214;/\xc3\x96/g
s/&#223;/\xc3\x9f/g
EOF

pipeline="LC_ALL=C sed -f '$tmp/breaks.sed' '$page' | LC_ALL=C sed -f '$tmp/criticals.sed' >'$tmp/out.html'"
runs=5
if command -v hyperfine >/dev/null; then
	hyperfine --style none --warmup 1 --runs "$runs" --export-csv "$tmp/sed.csv" "$pipeline" >/dev/null
	seconds=$(awk -F, 'NR == 2 { print $2 }' "$tmp/sed.csv")
else
	bash -c "$pipeline"
	start=$(date +%s%N)
	for _ in $(seq "$runs"); do
		bash -c "$pipeline"
	done
	seconds=$(awk -v ns=$(($(date +%s%N) - start)) -v n="$runs" 'BEGIN { print ns / n / 1e9 }')
fi

json=$("$bench" --benchmark_filter='^BM_AllThreePasses' --benchmark_format=json)
rate=$(printf '%s\n' "$json" | sed -n 's/.*"bytes_per_second": *\([0-9.e+-]*\).*/\1/p' | head -n1)

awk -v bytes="$bytes" -v seconds="$seconds" -v rate="$rate" 'BEGIN {
	printf "page: %.2f MB\n", bytes / 1e6
	printf "%-44s %8.1f MB/s\n", "Webgrazer, three passes (bench_pipeline):", rate / 1e6
	printf "%-44s %8.1f MB/s\n", "sed, line breaks and replacements:", bytes / seconds / 1e6
}'
