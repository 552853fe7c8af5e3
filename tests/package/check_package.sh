#!/usr/bin/env bash
# Checks Pelgar's Debian package as a Debian maintainer would: lintian --pedantic (an error
# or a warning fails), hardening-check on every executable, the menu entry and the AppStream
# file validated, and, unpacked into a throw-away root, what a user and a packager look for:
# every program with its compressed manual page, the copyright file, the changelog, the
# README and the examples the manual pages point at, one file time for all.
#
#   tests/package/check_package.sh PACKAGE.deb     (after deb=$(scripts/package.sh))
#
# The file time expected is SOURCE_DATE_EPOCH when set, else the last commit's.
set -euo pipefail
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 PACKAGE.deb" >&2; exit 2; }
deb="$(realpath "$1")"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
"$source_dir/scripts/install-deps.sh" --package >&2

passed=0
failed=0
# check WHAT COMMAND...: runs the command, counts and reports its outcome.
check() {
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
  fi
}

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
doc="$root/usr/share/doc/pelgar"
programs=()
for program in "$root"/usr/bin/*; do programs+=("$(basename "$program")"); done

# lintian, and its tags kept on the record; an error or a warning fails.
no_lintian_complaint() {
  local out
  out="$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges')" || true
  [ -z "$out" ] || printf '%s\n' "$out" >&2
  ! grep -q '^[EW]: ' <<<"$out"
}
check "lintian --pedantic: no error, no warning" no_lintian_complaint

# The control file: a maintainer to write to, the section, descriptions that fit a
# terminal, the libraries found by dpkg-shlibdeps.
check "Maintainer is \"Name <address>\"" \
  grep -Eq '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$' <<<"$(dpkg-deb -f "$deb" Maintainer)"
check "Section is electronics" [ "$(dpkg-deb -f "$deb" Section)" = electronics ]
description="$(dpkg-deb -f "$deb" Description)"
check "short description under 80 columns" [ "$(head -1 <<<"$description" | wc -L)" -lt 80 ]
check "long description wrapped at 80" [ "$(tail -n +2 <<<"$description" | wc -L)" -le 80 ]
depends="$(dpkg-deb -f "$deb" Depends)"
check "dependencies from dpkg-shlibdeps" grep -q 'libc6 (>= .*libqt6widgets6 (>= ' <<<"$depends"

# Every program: stripped, hardened, with its manual page compressed as Debian wants
# (gzip -9n: no name, no time stamp, best compression).
gzip_9n() {
  local header
  header=($(od -An -tu1 -N9 "$1"))
  gzip -t "$1" && [ "${header[3]}" -eq 0 ] &&
    [ "${header[4]}${header[5]}${header[6]}${header[7]}" = 0000 ] && [ "${header[8]}" -eq 2 ]
}
stripped() { ! readelf -S --wide "$1" | grep -Eq ' \.(symtab|comment|debug_info) '; }
check "programs installed" [ ${#programs[@]} -ge 2 ]
for program in "${programs[@]}"; do
  check "$program stripped" stripped "$root/usr/bin/$program"
  # Control-flow protection needs a C library whose start files carry it; Debian 12's do not.
  check "$program hardened" hardening-check --nocfprotection "$root/usr/bin/$program"
  check "$program's manual page compressed with gzip -9n" \
    gzip_9n "$root/usr/share/man/man1/$program.1.gz"
done
for page in "$root"/usr/share/man/man1/*; do
  check "$(basename "$page") belongs to a program" test -x "$root/usr/bin/$(basename "$page" .1.gz)"
done
for completion in "$root"/usr/share/bash-completion/completions/*; do
  [ -e "$completion" ] || continue
  check "completion $(basename "$completion") belongs to a program" \
    test -x "$root/usr/bin/$(basename "$completion")"
done

# The documentation.
check "copyright in the machine-readable format" grep -qx \
  'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
check "copyright states the MIT (Expat) licence" grep -qx 'License: Expat' "$doc/copyright"
check "copyright holds the licence's text" \
  grep -qF " $(sed -n '/^Permission/p' "$source_dir/LICENSE")" "$doc/copyright"
check "changelog compressed with gzip -9n" gzip_9n "$doc/changelog.gz"
changelog_version() { zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version; }
check "changelog's newest entry is the package's version" \
  [ "$(changelog_version)" = "$(dpkg-deb -f "$deb" Version)" ]
check "README" cmp -s "$source_dir/README.md" "$doc/README.md"
for example in "$source_dir"/examples/*; do
  check "example $(basename "$example")" cmp -s "$example" "$doc/examples/$(basename "$example")"
done
# Every installed path a manual page names is in the package.
for path in $(zcat "$root"/usr/share/man/man1/*.gz | grep -o '/usr/share/doc/pelgar[A-Za-z0-9_./-]*' | sort -u); do
  check "$path, named by a manual page" test -e "$root$path"
done

# The desktop program: a menu entry without even a hint, its program and icon, and the
# AppStream file that software centres read, naming every program.
desktop="$root/usr/share/applications/pelgar.desktop"
check "desktop-file-validate: no remark" [ -z "$(desktop-file-validate "$desktop" 2>&1)" ]
check "menu entry's program" test -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
check "menu entry's icon" test -f \
  "$root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
check "one AppStream file" [ ${#metainfo[@]} -eq 1 ]
check "appstreamcli validate --pedantic" appstreamcli validate --pedantic --no-net "${metainfo[0]}"
check "appstreamcli validate-tree (with the menu entry)" \
  appstreamcli validate-tree --pedantic --no-net "$root"
check "AppStream file named by its id" [ "$(basename "${metainfo[0]}" .metainfo.xml)" = \
  "$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "${metainfo[0]}")" ]
check "AppStream launchable is the menu entry" grep -q \
  '<launchable type="desktop-id">pelgar.desktop</launchable>' "${metainfo[0]}"
check "AppStream provides every program" [ "$(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' \
  "${metainfo[0]}" | sort)" = "$(printf '%s\n' "${programs[@]}" | sort)" ]
check "screenshots have captions" [ "$(grep -c '<caption>' "${metainfo[0]}")" -eq \
  "$(grep -c '<screenshot[ >]' "${metainfo[0]}")" ]

# One file time for all, the commit's, so that two builds of one commit are the same.
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)}"
times="$(dpkg-deb --fsys-tarfile "$deb" | TZ=UTC tar -tv --full-time | awk '{print $4 " " $5}' | sort -u)"
check "every file dated $(TZ=UTC date -d "@$epoch" '+%F %T')" \
  [ "$times" = "$(TZ=UTC date -d "@$epoch" '+%F %T')" ]

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
