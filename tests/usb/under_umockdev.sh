#!/bin/sh
# Runs a test with umockdev's library preloaded, so that its test bed can
# stand in for /sys, /dev and udev's events. The preloaded library comes
# before AddressSanitizer's runtime, which must be told not to mind; under
# ThreadSanitizer, races inside umockdev itself are left to umockdev.
here=$(dirname "$0")
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}suppressions=$here/umockdev_tsan.supp" \
  exec umockdev-wrapper "$@"
