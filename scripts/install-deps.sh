#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root, or with sudo).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends $(grep -v '^#' "$here/packages.txt")
