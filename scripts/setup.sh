#!/usr/bin/env bash
# Installs everything the build, the run and the tests need on a Debian 12
# machine (root, package archive only). Idempotent: what is present is skipped.
# A tool that needs more names its packages as arguments
# (scripts/bench_curve.sh: python3-matplotlib).
set -euo pipefail

packages=(
  g++-mingw-w64-i686 cmake ninja-build g++ googletest
  wine wine32 wine64 xvfb xdotool imagemagick x11-utils
  locales fonts-ipafont-gothic fonts-wine python3 fp-utils
  clang libclang-rt-14-dev
  "$@"
)

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages need root: $*" >&2
    exit 1
  fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_root i386-architecture
  dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  arch_pkg="$p"
  [ "$p" = wine32 ] && arch_pkg="wine32:i386"
  if ! dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$arch_pkg")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  need_root "${missing[@]}"
  echo "setup: installing ${missing[*]}"
  apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/tmp/kestrin-apt.log 2>&1 \
    || { tail -30 /tmp/kestrin-apt.log >&2; exit 1; }
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  need_root locale
  sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
