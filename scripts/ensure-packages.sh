#!/usr/bin/env bash
# Makes sure that the Debian packages of the given lists are installed, and touches apt only when
# one of them is missing: a machine that has everything needs neither the network nor root.
#
#   scripts/ensure-packages.sh [--deb-src] LIST...
#
# A list holds one package a line; '#' starts a comment. A package with an architecture
# (wine32:i386) first enables that architecture in dpkg. --deb-src adds deb-src entries that
# mirror the binary ones when apt has none, for `apt-get source`.
#
# What is missing is installed with one `apt-get update` and one `apt-get install`. A normal user
# runs this script again under sudo when sudo exists; without sudo it prints the command to run
# as root and fails. LUMENFOLD_NO_INSTALL=1 only reports what is missing.
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

want_deb_src=0
lists=()
for arg in "$@"; do
  case "$arg" in
    --deb-src) want_deb_src=1 ;;
    -*) echo "ensure-packages.sh: unknown option $arg" >&2; exit 2 ;;
    *)
      [ -f "$arg" ] || { echo "ensure-packages.sh: no package list $arg" >&2; exit 2; }
      lists+=("$(cd "$(dirname "$arg")" && pwd)/$(basename "$arg")")
      ;;
  esac
done
[ "${#lists[@]}" -gt 0 ] || { echo "usage: ensure-packages.sh [--deb-src] LIST..." >&2; exit 2; }
# The same request with absolute paths, for sudo and for the command printed for root.
again=("$self")
[ "$want_deb_src" = 0 ] || again+=(--deb-src)
again+=("${lists[@]}")

packages=()
while read -r package; do
  packages+=("$package")
done < <(sed 's/#.*//' "${lists[@]}" | tr -s ' \t' '\n\n' | grep -v '^$' | awk '!seen[$0]++')

# What is missing: architectures, deb-src entries, packages.
native_arch=$(dpkg --print-architecture)
foreign_archs=$(dpkg --print-foreign-architectures)
missing_archs=()
missing=()
for package in "${packages[@]}"; do
  case "$package" in
    *:*)
      arch=${package#*:}
      if [ "$arch" != "$native_arch" ] && ! grep -qx "$arch" <<<"$foreign_archs" &&
         [[ " ${missing_archs[*]} " != *" $arch "* ]]; then
        missing_archs+=("$arch")
      fi
      ;;
  esac
  dpkg-query -W -f='${db:Status-Status}\n' "$package" 2>/dev/null | grep -qx installed ||
    missing+=("$package")
done
has_deb_src() {
  grep -Eqs '^(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list \
    /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources
}
missing_deb_src=0
[ "$want_deb_src" = 0 ] || has_deb_src || missing_deb_src=1

[ "${#missing[@]}" -gt 0 ] || [ "${#missing_archs[@]}" -gt 0 ] || [ "$missing_deb_src" = 1 ] ||
  exit 0

what=()
[ "${#missing[@]}" -eq 0 ] || what+=("packages ${missing[*]}")
[ "${#missing_archs[@]}" -eq 0 ] || what+=("architecture ${missing_archs[*]} in dpkg")
[ "$missing_deb_src" = 0 ] || what+=("deb-src entries in apt's sources")
summary=$(printf '%s; ' "${what[@]}")
summary=${summary%; }

if [ "${LUMENFOLD_NO_INSTALL:-0}" = 1 ]; then
  echo "LUMENFOLD_NO_INSTALL=1: not installing what is missing: $summary" >&2
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo > /dev/null; then
    echo "Missing: $summary. Installing with sudo."
    exec sudo -- "${again[@]}"
  fi
  echo "Missing: $summary." >&2
  echo "Installing needs root, and sudo is not installed. As root, run:" >&2
  if [ "${#missing_archs[@]}" -eq 0 ] && [ "$missing_deb_src" = 0 ]; then
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  else
    command=$(printf '%q ' "${again[@]}")
  echo "  ${command% }" >&2
  fi
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
for arch in "${missing_archs[@]}"; do
  echo "Enabling the $arch architecture in dpkg"
  dpkg --add-architecture "$arch"
done
if [ "$missing_deb_src" = 1 ]; then
  echo "Adding deb-src entries for the binary ones"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/lumenfold-deb-src.sources
  else
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | sed 's/^deb/deb-src/' \
      > /etc/apt/sources.list.d/lumenfold-deb-src.list
  fi
fi
apt-get -o DPkg::Lock::Timeout=600 update -q
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing ${missing[*]}"
  apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi
