#!/usr/bin/env bash
# Everything Tapewren needs to build, run and test, from Debian's packages.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q \
  cmake g++ make pkg-config clang-format \
  qt6-base-dev libpulse-dev libmp3lame-dev libspeexdsp-dev libxcb1-dev libglib2.0-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  pulseaudio pulseaudio-utils xvfb icewm x11-utils xdotool imagemagick fonts-dejavu-core \
  openbox trayer weston qt6-wayland \
  sox ffmpeg mpg123 xdg-utils lame \
  dbus dbus-daemon libglib2.0-bin desktop-file-utils appstream dpkg-dev lintian man-db \
  linux-perf valgrind tesseract-ocr tesseract-ocr-eng tesseract-ocr-deu \
  qt6-l10n-tools qt6-translations-l10n at-spi2-core python3-pyatspi
# PipeWire for the test desktop's second sound server; without recommends,
# so that it leaves PulseAudio installed and in charge.
apt-get install -y -q --no-install-recommends pipewire pipewire-pulse wireplumber
# KDE Plasma's own services for the KDE test (kwin on Wayland, the KDE
# portal, PowerDevil and UPower); without recommends: 177 packages in place
# of 686, and the test needs none of the rest.
apt-get install -y -q --no-install-recommends kwin-wayland xdg-desktop-portal \
  xdg-desktop-portal-kde powerdevil upower qtwayland5
# GNOME Shell for the GNOME test, likewise without recommends (113 packages).
# Its notification service is a gjs program, and nothing pulls in gjs.
apt-get install -y -q --no-install-recommends gnome-shell xdg-desktop-portal-gnome \
  xdg-desktop-portal-gtk gnome-shell-extension-appindicator gjs
