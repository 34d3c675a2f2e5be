#!/bin/sh
# Runs a test with umockdev's library preloaded, so that its test bed can
# stand in for /sys, /dev and udev's events. The preloaded library comes
# before AddressSanitizer's runtime, which must be told not to mind.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" exec umockdev-wrapper "$@"
