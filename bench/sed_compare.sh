#!/usr/bin/env bash
# Compares the cleaning passes with a sed and awk pipeline on the same generated pages, both
# as whole processes (start, reading and writing the file included), run in turns.
#
#   bench/sed_compare.sh [BUILD_DIR] [ROUNDS]   (default: build-rel, 15; bench_pipeline is
#                                                built when missing, as a Release build)
#
# The peer joins table rows and puts line breaks before the same tags as AddBreaksInFile (sed
# cannot tell whether a tag sits inside a row that started on an earlier line, so it only asks
# whether the line holds "<tr"), makes the 34 replacements of ReplaceCriticals in the same
# order, and numbers the first occurrence of each tag of the tag list per line as TagCounter
# does (awk). Webgrazer's side is "bench_pipeline --clean FILE": the three passes as a
# download runs them, with the settings store made as at the program's start.
#
# Each round runs both sides once on a fresh copy of the page, in turns, and the report gives
# the median and the spread (least and most) of each side and the median of the ratios of
# the same round.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-rel}
rounds=${2:-15}
bench=$build/bench/bench_pipeline
if [ ! -x "$bench" ]; then
	[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build "$build" --target bench_pipeline >/dev/null
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

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

# The program's default tag list.
cat >"$tmp/tags.txt" <<'EOF'
<title>
<description>
"high">
"low">
('hpwtmin')
('hpwtmax')
('hpwrain')
('WR')
Vorhersage für
/32x32/
/64x64/
/256x256/
class="day" ><h3>
floats"></div> <p>
class="hi">
<pubDate>
<category>
<dc:creator>
reserve8">
reserve7">
reserve6">
reserve5">
reserve4">
reserve3">
reserve2">
EOF

cat >"$tmp/count.awk" <<'EOF'
BEGIN {
	while ((getline tag < tagfile) > 0)
		tags[n++] = tag
}
{
	out = $0
	for (i = 0; i < n; i++) {
		if (index($0, tags[i]) == 0)
			continue
		at = index(out, tags[i])
		marker = tags[i] ":" count[i]++ "|"
		if (at > 0)
			out = substr(out, 1, at - 1) marker substr(out, at + length(tags[i]))
	}
	print out
}
EOF

peer() {
	LC_ALL=C sed -f "$tmp/breaks.sed" "$1" | LC_ALL=C sed -f "$tmp/criticals.sed" \
		| LC_ALL=C awk -v tagfile="$tmp/tags.txt" -f "$tmp/count.awk" >"$1.out"
}

now() {
	date +%s%N
}

compare() {
	local label=$1 bytes=$2
	local page=$tmp/page.html
	"$bench" --write-page "$page" "$bytes"
	: >"$tmp/times"
	for round in $(seq "$rounds"); do
		cp "$page" "$tmp/wg.html"
		cp "$page" "$tmp/peer.html"
		# Both orders, so that neither side always runs first.
		if [ $((round % 2)) -eq 0 ]; then
			start=$(now)
			"$bench" --clean "$tmp/wg.html"
			middle=$(now)
			peer "$tmp/peer.html"
			end=$(now)
			echo "$((middle - start)) $((end - middle))" >>"$tmp/times"
		else
			start=$(now)
			peer "$tmp/peer.html"
			middle=$(now)
			"$bench" --clean "$tmp/wg.html"
			end=$(now)
			echo "$((end - middle)) $((middle - start))" >>"$tmp/times"
		fi
	done
	sort -n -k1,1 "$tmp/times" | awk '{ print $1 }' >"$tmp/wg"
	sort -n -k2,2 "$tmp/times" | awk '{ print $2 }' >"$tmp/peer"
	awk '{ print $1 / $2 }' "$tmp/times" | sort -g >"$tmp/ratio"
	awk -v label="$label" -v bytes="$(stat -c %s "$page")" -v n="$rounds" \
		-v wg="$(tr '\n' ' ' <"$tmp/wg")" -v peer="$(tr '\n' ' ' <"$tmp/peer")" \
		-v ratio="$(tr '\n' ' ' <"$tmp/ratio")" 'BEGIN {
		split(wg, w, " "); split(peer, p, " "); split(ratio, r, " ")
		m = int((n + 1) / 2)
		printf "%s page (%d bytes), %d rounds, median [least .. most]:\n", label, bytes, n
		printf "  %-40s %8.1f ms [%.1f .. %.1f]\n", "Webgrazer, three passes (whole process):", w[m] / 1e6, w[1] / 1e6, w[n] / 1e6
		printf "  %-40s %8.1f ms [%.1f .. %.1f]\n", "sed, sed and awk (whole pipeline):", p[m] / 1e6, p[1] / 1e6, p[n] / 1e6
		printf "  %-40s %8.2f [%.2f .. %.2f]\n", "Webgrazer / peer, same round:", r[m], r[1], r[n]
	}'
}

compare "2 MB" $((2 * 1024 * 1024))
compare "20 KB" $((20 * 1024))
