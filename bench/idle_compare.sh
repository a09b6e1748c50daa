#!/usr/bin/env bash
# Compares Webgrazer with conky while both sit idle between two updates: resident memory, CPU
# time and wake-ups.
#
#   bench/idle_compare.sh [SECONDS] [BUILD_DIR]     (defaults: 60 and build; the program is built
#                                                   when the build folder lacks it)
#
# Both programs run on one Xvfb display that the script starts: conky in a small window of its
# own, Webgrazer with HAIKU_DISPLAY=x11 (a layer without an X11 display puts its window on the
# in-memory screen instead; the output says which one it used). Webgrazer starts with an
# empty settings folder under a temporary HOME, so it shows its first preset, the sample page
# from its own folder; only its update interval is set. conky shows the page title and five
# values that it reads from the same page with sed, at the same interval.
#
# After both have done their first update and gone quiet, the script watches them for SECONDS.
# The update interval is chosen long enough that no update falls into that window (conky's
# second update, which comes early, is waited for when it would). It reports:
#   RSS, Pss     VmRSS (/proc/PID/status) and Pss (/proc/PID/smaps_rollup) at the end
#   CPU          utime + stime (/proc/PID/stat) used during the window
#   wake-ups     voluntary + involuntary context switches of all threads during the window
#   threads      number of threads at the end
# and, for each program that woke up, which of its threads did.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${2:-build}
case $seconds in
'' | *[!0-9]* | ???????*) seconds=0 ;;
*) seconds=$((10#$seconds)) ;;
esac
if [ "$seconds" -le 0 ] || [ "$seconds" -gt 86400 ]; then
	echo "usage: $0 [SECONDS] [BUILD_DIR]   (SECONDS a whole number from 1 to 86400)" >&2
	exit 2
fi

for tool in Xvfb:xvfb conky:conky-std setfattr:attr python3:python3; do
	if ! command -v "${tool%%:*}" >/dev/null; then
		echo "${tool%%:*} is missing: apt-get install ${tool#*:}" >&2
		exit 1
	fi
done

program=$build/Webgrazer/Webgrazer
if [ ! -x "$program" ]; then
	[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
	cmake --build "$build" --target Webgrazer >/dev/null
fi
build=$(cd "$build" && pwd)
program=$build/Webgrazer/Webgrazer
page=$build/Webgrazer/sample.html
[ -r "$page" ] || {
	echo "$page is missing" >&2
	exit 1
}

# Paths end up in conky's text, where "$", braces and apostrophes mean something.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/idle_compare.XXXXXX")
case $tmp in
*[!A-Za-z0-9/._-]*)
	rmdir "$tmp"
	echo "the temporary folder $tmp has characters conky's text can't hold: set TMPDIR" >&2
	exit 1
	;;
esac

xvfb_pid=
webgrazer_pid=
conky_pid=

# Ends one process that the script started: TERM, up to 5 s for it to go, then KILL.
stop() {
	local pid=$1
	[ -n "$pid" ] || return 0
	kill -TERM "$pid" 2>/dev/null || return 0
	for _ in $(seq 50); do
		kill -0 "$pid" 2>/dev/null || break
		sleep 0.1
	done
	kill -KILL "$pid" 2>/dev/null || true
	wait "$pid" 2>/dev/null || true
}

cleanup() {
	stop "$conky_pid"
	stop "$webgrazer_pid"
	stop "$xvfb_pid"
	rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Update interval in whole minutes (Webgrazer's unit). conky does its second update early: it
# updates when the monotonic clock reaches a multiple of its interval, so the window may have
# to wait for that update and still end before Webgrazer's second one, an interval after its
# start: the interval holds the window twice, with room for the warm-ups.
minutes=$(((2 * seconds + 30 + 59) / 60))
interval=$((minutes * 60))

# The display
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/displayfd" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
	[ -s "$tmp/displayfd" ] && break
	kill -0 "$xvfb_pid" 2>/dev/null || break
	sleep 0.1
done
number=$(head -n1 "$tmp/displayfd" 2>/dev/null | tr -dc 0-9)
if [ -z "$number" ]; then
	echo "Xvfb did not start:" >&2
	cat "$tmp/xvfb.log" >&2
	exit 1
fi
display=:$number

# Webgrazer: an empty settings folder but for the update interval ('LONG', then the int32 in
# the machine's byte order).
mkdir -p "$tmp/home" "$tmp/config/_LP_x-vnd.QK" "$tmp/state"
settings=$tmp/config/_LP_x-vnd.QK/Webgrazer_settings
: >"$settings"
speed=$(printf '%08x' "$minutes")
if [ "$(printf '\1\0' | od -An -tu2 | tr -d ' ')" = 1 ]; then
	speed=${speed:6:2}${speed:4:2}${speed:2:2}${speed:0:2}
fi
setfattr -n user.opUpdateSpeed -v "0x4c4f4e47$speed" "$settings"

# conky: a title and five values from the sample page, each read by a small script that also
# counts its calls, so that the script can tell when conky has done an update.
cat >"$tmp/value.sh" <<EOF
#!/bin/sh
echo "\$1" >>'$tmp/conky_reads'
page='$tmp/sample.html'
case \$1 in
title) sed -n 's|.*<title>\([^<]*\)</title>.*|\1|p' "\$page" ;;
temp) sed -n 's|.*<b>Temp\.:</b> *\([^<]*\).*|\1|p' "\$page" | sed 's|&deg;|°|' ;;
rain) sed -n 's|.*<b>Regen:</b> *\([^<]*\).*|\1|p' "\$page" ;;
wind) sed -n 's|.*<b>Wind:</b> *\([^<]*\).*|\1|p' "\$page" ;;
img1 | img2)
	sed -n 's|.*images/karten-symbole/\([^"]*\)" alt="\([^"]*\)".*|\1 (\2)|p' "\$page" |
		sed -n "\${1#img}p"
	;;
esac
EOF
ln -s "$page" "$tmp/sample.html"
# Webgrazer draws with DejaVu Sans at 11 pixels, so conky does too where it is installed.
families=$(fc-list : family 2>/dev/null || true)
font=Sans
grep -q "DejaVu Sans" <<<"$families" && font="DejaVu Sans"
value() {
	# shellcheck disable=SC2016 # conky's variable, not the shell's
	printf '${execi %d sh %s %s}' "$interval" "'$tmp/value.sh'" "$1"
}
cat >"$tmp/conky.conf" <<EOF
conky.config = {
	out_to_x = true,
	out_to_console = false,
	background = false,
	own_window = true,
	own_window_type = 'normal',
	own_window_title = 'conky-bench',
	own_window_transparent = false,
	double_buffer = false,
	use_xft = true,
	font = '$font:pixelsize=11',
	alignment = 'top_left',
	gap_x = 240,
	gap_y = 50,
	minimum_width = 150,
	minimum_height = 80,
	update_interval = $interval,
	total_run_times = 0,
	no_buffers = true,
	cpu_avg_samples = 1,
	net_avg_samples = 1,
}
conky.text = [[
$(value title)
   Temp. : $(value temp)
  Regen  : $(value rain)
  Wind   : $(value wind)
  Img 1  : $(value img1)
  Img 2  : $(value img2)
]]
EOF

start=$SECONDS
env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state" \
	HAIKU_APPS_DIR="$build" HAIKU_SYSTEM_DIR="$build/system" \
	DISPLAY="$display" HAIKU_DISPLAY=x11 \
	"$program" >"$tmp/webgrazer.out" 2>&1 &
webgrazer_pid=$!
mkdir -p "$tmp/conky-home"
env HOME="$tmp/conky-home" XDG_CONFIG_HOME="$tmp/conky-home" DISPLAY="$display" \
	conky -c "$tmp/conky.conf" >"$tmp/conky.out" 2>&1 &
conky_pid=$!

hz=$(getconf CLK_TCK)

alive() {
	kill -0 "$1" 2>/dev/null && [ -r "/proc/$1/stat" ]
}

# CPU time used so far, all threads, in ms. The name in parentheses may hold blanks.
cpu_ms() {
	awk -v hz="$hz" '{ sub(/^.*\) /, ""); printf "%d\n", ($12 + $13) * 1000 / hz }' \
		"/proc/$1/stat"
}

# One line per thread: id, context switches so far, name, where it sleeps.
threads() {
	local task name wchan
	for task in /proc/"$1"/task/*; do
		name=$(tr ' ' '_' <"$task/comm" 2>/dev/null) || continue
		wchan=$(cat "$task/wchan" 2>/dev/null || true)
		awk -v tid="${task##*/}" -v name="$name" -v wchan="${wchan:--}" '
			/^voluntary_ctxt_switches:/ { v = $2 }
			/^nonvoluntary_ctxt_switches:/ { n = $2 }
			END { if (v != "") print tid, v + n, name, wchan }' "$task/status" 2>/dev/null || true
	done
}

status_kb() {
	awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

webgrazer_updates() {
	local count
	count=$(grep -c "View diff" "$tmp/state/Webgrazer.log" 2>/dev/null || true)
	echo "${count:-0}"
}

conky_updates() {
	local reads
	reads=$(grep -c . "$tmp/conky_reads" 2>/dev/null || true)
	echo $((${reads:-0} / 6))
}

monotonic() {
	python3 -c 'import time; print(int(time.clock_gettime(time.CLOCK_MONOTONIC)))'
}

# Waits until Webgrazer has done at least $1 updates and conky $2, and both have used no CPU
# for two seconds; gives up after $3 seconds.
settle() {
	local deadline=$((SECONDS + $3)) quiet_since='' last='' now pid name log
	while [ "$SECONDS" -lt "$deadline" ]; do
		for pid in "$webgrazer_pid" "$conky_pid"; do
			if ! alive "$pid"; then
				name=Webgrazer log=$tmp/webgrazer.out
				[ "$pid" = "$conky_pid" ] && name=conky log=$tmp/conky.out
				echo "$name ended during the warm-up; its output:" >&2
				tail -n 30 "$log" >&2
				exit 1
			fi
		done
		now="$(cpu_ms "$webgrazer_pid") $(cpu_ms "$conky_pid")"
		if [ "$(webgrazer_updates)" -ge "$1" ] && [ "$(conky_updates)" -ge "$2" ] \
			&& [ "$now" = "$last" ]; then
			quiet_since=${quiet_since:-$SECONDS}
			[ $((SECONDS - quiet_since)) -ge 2 ] && return 0
		else
			quiet_since=
		fi
		last=$now
		sleep 0.1
	done
	echo "the programs did not finish their update and go quiet within $3 s" >&2
	exit 1
}

# Warm-up: both have done their first update. When conky's next update would fall into the
# window, the window starts after it instead.
settle 1 1 60
warmup=$((SECONDS - start))
clock=$(monotonic)
conky_next=$(((clock / interval + 1) * interval - clock))
waited=0
if [ "$conky_next" -le $((seconds + 5)) ]; then
	before=$SECONDS
	settle 1 $(($(conky_updates) + 1)) $((conky_next + 60))
	waited=$((SECONDS - before))
fi

webgrazer_display=
if command -v xwininfo >/dev/null; then
	windows=$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null || true)
	if grep -q '"Webgrazer"' <<<"$windows"; then
		webgrazer_display="X11 (window \"Webgrazer\" on $display)"
	else
		webgrazer_display="in-memory screen (no X window \"Webgrazer\" on $display)"
	fi
	grep -q '"conky-bench"' <<<"$windows" ||
		echo "warning: conky has no X window on $display" >&2
else
	webgrazer_display="unknown (xwininfo is missing: apt-get install x11-utils)"
fi

# The window
for name in webgrazer conky; do
	pid_var=${name}_pid
	pid=${!pid_var}
	cpu_ms "$pid" >"$tmp/$name.cpu0"
	threads "$pid" >"$tmp/$name.threads0"
done
updates0="$(webgrazer_updates) $(conky_updates)"
sleep "$seconds"
updates1="$(webgrazer_updates) $(conky_updates)"
for name in webgrazer conky; do
	pid_var=${name}_pid
	pid=${!pid_var}
	if ! alive "$pid"; then
		echo "$name ended during the idle window" >&2
		exit 1
	fi
	threads "$pid" >"$tmp/$name.threads1"
	cpu_ms "$pid" >"$tmp/$name.cpu1"
	rss=$(status_kb "$pid" VmRSS)
	pss=$(awk '$1 == "Pss:" { print $2 }' "/proc/$pid/smaps_rollup")
	count=$(status_kb "$pid" Threads)
	echo "$rss $pss $count" >"$tmp/$name.memory"
done

# Per thread: wake-ups during the window (threads that started during it count from 0).
wakeups_by_thread() {
	awk 'NR == FNR { before[$1] = $2; next }
		{ printf "%s %d %s %s\n", $1, $2 - ($1 in before ? before[$1] : 0), $3, $4 }' \
		"$tmp/$1.threads0" "$tmp/$1.threads1"
}

row() {
	local name=$1 label=$2 updates=$3 rss pss count cpu wakeups
	read -r rss pss count <"$tmp/$name.memory"
	cpu=$(($(cat "$tmp/$name.cpu1") - $(cat "$tmp/$name.cpu0")))
	wakeups=$(wakeups_by_thread "$name" | awk '{ sum += $2 } END { print sum + 0 }')
	echo "$wakeups" >"$tmp/$name.wakeups"
	awk -v label="$label" -v rss="$rss" -v pss="$pss" -v cpu="$cpu" -v w="$wakeups" \
		-v n="$count" -v u="$updates" 'BEGIN {
			printf "%-10s %9.1f %9.1f %8d %9d %8d %8d\n", label, rss / 1024, pss / 1024, cpu, w, n, u
		}'
}

read -r wg0 conky0 <<<"$updates0"
read -r wg1 conky1 <<<"$updates1"

echo "display: Xvfb $display; Webgrazer drew on: $webgrazer_display"
echo "update interval: $minutes min (Webgrazer opUpdateSpeed $minutes, conky update_interval" \
	"$interval with execi $interval); warm-up ${warmup} s; idle window $seconds s"
if [ "$waited" -gt 0 ]; then
	echo "the window started after conky's second update, ${waited} s after the warm-up"
fi
echo
printf '%-10s %9s %9s %8s %9s %8s %8s\n' program "RSS MiB" "Pss MiB" "CPU ms" wake-ups threads updates
row webgrazer Webgrazer $((wg1 - wg0))
row conky conky $((conky1 - conky0))
if [ $((wg1 - wg0 + conky1 - conky0)) -gt 0 ]; then
	echo "warning: an update fell into the window; its wake-ups are counted above"
fi

for name in webgrazer conky; do
	if [ "$(cat "$tmp/$name.wakeups")" -gt 0 ]; then
		pid_var=${name}_pid
		label=Webgrazer
		[ "$name" = conky ] && label=conky
		echo
		echo "$label threads that woke up (id, wake-ups, name, where it sleeps now):"
		wakeups_by_thread "$name" | awk -v pid="${!pid_var}" '$2 > 0 {
			printf "  %-8s %6d  %-16s %s%s\n", $1, $2, $3, $4, $1 == pid ? " (main thread)" : ""
		}'
	fi
done

echo
read -r wg_rss wg_pss _ <"$tmp/webgrazer.memory"
read -r conky_rss conky_pss _ <"$tmp/conky.memory"
awk -v a="$wg_rss" -v b="$conky_rss" -v pa="$wg_pss" -v pb="$conky_pss" 'BEGIN {
	printf "memory: Webgrazer %.1f MiB vs conky %.1f MiB (RSS; Pss %.1f vs %.1f MiB): %s\n",
		a / 1024, b / 1024, pa / 1024, pb / 1024, a < b ? "less than conky" : "not less than conky"
}'
wg_wakeups=$(cat "$tmp/webgrazer.wakeups")
conky_wakeups=$(cat "$tmp/conky.wakeups")
if [ "$wg_wakeups" -eq 0 ]; then
	verdict="none for Webgrazer"
else
	verdict="Webgrazer woke $wg_wakeups times"
fi
echo "wake-ups between updates: $verdict in $seconds s (conky: $conky_wakeups)"
