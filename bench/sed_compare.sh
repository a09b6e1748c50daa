#!/usr/bin/env bash
# Compares the cleaning passes with a sed and awk pipeline on the same generated pages, both
# as whole processes (start, reading and writing the file included), run in turns.
#
#   bench/sed_compare.sh [BUILD_DIR] [ROUNDS]   (default: build-rel, 15; bench_clean and
#                                                bench_pipeline are built when missing, as a
#                                                Release build)
#
# The peer joins table rows and puts line breaks before the same tags as AddBreaksInFile (sed
# cannot tell whether a tag sits inside a row that started on an earlier line, so it only asks
# whether the line holds "<tr"), makes the 34 replacements of ReplaceCriticals in the same
# order, and numbers the first occurrence of each tag of the tag list per line as TagCounter
# does (awk).
#
# Webgrazer runs the three passes as a download runs them, with the settings store made as at
# the program's start: each pass removes the file it replaces with an "rm" command (a process
# of its own, waited for) and ReplaceCriticals pauses for 5 ms. The settings live in a private
# home that the script makes once (WG_BENCH_HOME) and an untimed first run fills, so that each
# timed run finds them as a usual start of the program does. Two executables run the same
# code, and both are timed:
#   bench_clean FILE             the program's objects, and the C++ runtime, linked into the
#                                executable: only the C library is loaded at its start, as
#                                for sed and awk (the figure the comparison is about)
#   bench_pipeline --clean FILE  linked as the program is, against libwebgrazer.so and
#                                libbe.so, which load about 20 more libraries (X11, FreeType,
#                                fontconfig, the image codecs) at each start
# Both must leave the same file; the script stops when they do not. A fourth side,
#   bench_clean --fixed-costs FILE  only the three "rm" processes and the 5 ms pause
# shows the least time any implementation of the passes can take as a process: on small pages
# it is most of Webgrazer's time, and it can be longer than the whole peer.
#
# All sides run in the same environment, with LC_ALL=C (sed and awk need it to see bytes, and
# it spares each "rm" reading the locale's files).
#
# Each round runs the four sides once on fresh copies of the page, in a turning order, and
# the report gives the median and the spread (least and most) of each side and the median of
# the ratios of the same round.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-rel}
rounds=${2:-15}
bench=$build/bench/bench_pipeline
lean=$build/bench/bench_clean
if [ ! -x "$bench" ] || [ ! -x "$lean" ]; then
	[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build "$build" --target bench_pipeline bench_clean >/dev/null
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/home"
export WG_BENCH_HOME=$tmp/home
export LC_ALL=C

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
	sed -f "$tmp/breaks.sed" "$1" | sed -f "$tmp/criticals.sed" \
		| awk -v tagfile="$tmp/tags.txt" -f "$tmp/count.awk" >"$1.out"
}

now() {
	date +%s%N
}

# Runs side $1 (lean, shared, peer or fixed) on its copy of the page and prints the nanoseconds.
run_side() {
	local start end
	start=$(now)
	case $1 in
	lean) "$lean" "$tmp/lean.html" ;;
	shared) "$bench" --clean "$tmp/shared.html" ;;
	peer) peer "$tmp/peer.html" ;;
	fixed) "$lean" --fixed-costs "$tmp/fixed.html" ;;
	esac
	end=$(now)
	echo $((end - start))
}

compare() {
	local label=$1 bytes=$2
	local page=$tmp/page.html
	"$bench" --write-page "$page" "$bytes"
	cp "$page" "$tmp/first.html"
	"$lean" "$tmp/first.html"
	: >"$tmp/times"
	local orders=("lean shared peer fixed" "fixed lean shared peer" "peer fixed lean shared"
		"shared peer fixed lean")
	for round in $(seq "$rounds"); do
		for side in lean shared peer; do
			cp "$page" "$tmp/$side.html"
		done
		# The order turns, so that no side always runs first or after the same one.
		declare -A took=()
		for side in ${orders[$((round % 4))]}; do
			took[$side]=$(run_side "$side")
		done
		echo "${took[lean]} ${took[shared]} ${took[peer]} ${took[fixed]}" >>"$tmp/times"
		if ! cmp -s "$tmp/lean.html" "$tmp/shared.html"; then
			echo "bench_clean and bench_pipeline --clean made different files" >&2
			exit 1
		fi
	done
	for column in 1 2 3 4; do
		awk -v c=$column '{ print $c }' "$tmp/times" | sort -n | tr '\n' ' ' >"$tmp/side$column"
	done
	awk '{ print $1 / $3 }' "$tmp/times" | sort -g | tr '\n' ' ' >"$tmp/ratio1"
	awk '{ print $2 / $3 }' "$tmp/times" | sort -g | tr '\n' ' ' >"$tmp/ratio2"
	awk '{ print $4 / $3 }' "$tmp/times" | sort -g | tr '\n' ' ' >"$tmp/ratio4"
	awk -v label="$label" -v bytes="$(stat -c %s "$page")" -v n="$rounds" \
		-v lean="$(cat "$tmp/side1")" -v shared="$(cat "$tmp/side2")" -v peer="$(cat "$tmp/side3")" \
		-v fixed="$(cat "$tmp/side4")" -v leanRatio="$(cat "$tmp/ratio1")" \
		-v sharedRatio="$(cat "$tmp/ratio2")" -v fixedRatio="$(cat "$tmp/ratio4")" 'BEGIN {
		m = int((n + 1) / 2)
		printf "%s page (%d bytes), %d rounds, median [least .. most]:\n", label, bytes, n
		split(lean, v, " ")
		printf "  %-44s %8.1f ms [%.1f .. %.1f]\n", "Webgrazer, bench_clean (whole process):", v[m] / 1e6, v[1] / 1e6, v[n] / 1e6
		split(shared, v, " ")
		printf "  %-44s %8.1f ms [%.1f .. %.1f]\n", "Webgrazer, bench_pipeline --clean:", v[m] / 1e6, v[1] / 1e6, v[n] / 1e6
		split(peer, v, " ")
		printf "  %-44s %8.1f ms [%.1f .. %.1f]\n", "sed, sed and awk (whole pipeline):", v[m] / 1e6, v[1] / 1e6, v[n] / 1e6
		split(fixed, v, " ")
		printf "  %-44s %8.1f ms [%.1f .. %.1f]\n", "fixed costs alone (3 rm, 5 ms pause):", v[m] / 1e6, v[1] / 1e6, v[n] / 1e6
		split(leanRatio, v, " ")
		printf "  %-44s %8.2f [%.2f .. %.2f]\n", "bench_clean / peer, same round:", v[m], v[1], v[n]
		split(sharedRatio, v, " ")
		printf "  %-44s %8.2f [%.2f .. %.2f]\n", "bench_pipeline --clean / peer, same round:", v[m], v[1], v[n]
		split(fixedRatio, v, " ")
		printf "  %-44s %8.2f [%.2f .. %.2f]\n", "fixed costs alone / peer, same round:", v[m], v[1], v[n]
	}'
}

compare "2 MB" $((2 * 1024 * 1024))
compare "20 KB" $((20 * 1024))
