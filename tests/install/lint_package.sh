#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Builds the Debian package from this build (cpack, into a scratch directory) and puts it
# through Debian's package checker: no error and no warning may remain (the README's packaging
# notes list the informational tags that stay, and why). Also checks what lintian cannot know:
# the package, its changelog and its manual pages carry the project's version.
# Skipped (77) where lintian or dpkg-deb is missing.
set -euo pipefail
build_dir=$1
version=$2
for tool in lintian dpkg-deb cpack; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/nadelix_*.deb)
echo "$(basename "$deb"):"
# lintian says that it prefers not to run as root; that line is no finding.
status=0
report=$(lintian --fail-on error,warning --display-level '>=pedantic' -E "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || { echo "lintian found errors or warnings"; exit 1; }

control_version=$(dpkg-deb -f "$deb" Version)
mkdir "$out/root"
dpkg-deb -x "$deb" "$out/root"
changelog_version=$(zcat "$out/root/usr/share/doc/nadelix/changelog.gz" | sed -n '1s/^nadelix (\([^)]*\)).*/\1/p')
man_version=$(zcat "$out/root/usr/share/man/man1/nadelix.1.gz" | sed -n 's/^\.TH .*"Nadelix \([^"]*\)".*/\1/p')
for v in "$control_version" "$changelog_version" "$man_version"; do
  [ "$v" = "$version" ] || { echo "version $v in the package is not the project's $version"; exit 1; }
done
echo "package, changelog and manual pages carry version $version"
