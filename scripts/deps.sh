#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests, the benchmarks and the fuzz targets
# need, when any is missing.
set -euo pipefail

packages=(
	cmake ninja-build g++ clang libclang-rt-dev pkg-config
	libgtest-dev libgmock-dev libbenchmark-dev
	libfreetype-dev libfontconfig-dev fonts-dejavu-core
	libpng-dev libjpeg-dev libgif-dev libx11-dev libxtst-dev xvfb xauth xdotool trayer
	wget attr python3 conky-std x11-utils librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
	if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
		missing+=("$p")
	fi
done

if [ ${#missing[@]} -gt 0 ]; then
	echo "installing: ${missing[*]}"
	sudo=""
	[ "$(id -u)" -ne 0 ] && sudo="sudo"
	export DEBIAN_FRONTEND=noninteractive
	$sudo apt-get update -q
	$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
