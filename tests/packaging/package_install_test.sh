#!/bin/sh
# Builds the Debian package from a configured build tree, unpacks it into a
# scratch root and runs each program's --version from there. Exit 77 (skipped)
# only where the dpkg tools are missing.
set -eu
build=$1
for tool in dpkg-deb dpkg-shlibdeps cpack; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# gzip: this build's sanitised programs are large and the default xz is slow.
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip \
     >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/out/ombrel-setting-tool_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libudev1 libc6 qt6-qpa-plugins qt6-translations-l10n; do
  case "$depends" in *"$library"*) ;; *) echo "Depends lacks $library"; exit 1 ;; esac
done

dpkg -x "$deb" "$work/root"
prefix=$(find "$work/root" -path '*/bin/ombrelctl' -printf '%h\n' | sed 's|/bin$||')
for program in ombrelctl ombrel-vprinter ombrel-setting-tool; do
  version=$("$prefix/bin/$program" --version)
  case "$version" in "$program (Ombrel Setting Tool) "*) ;; *) echo "$program --version: $version"; exit 1 ;; esac
done
for file in share/ombrel/Chinese.lng share/ombrel/English.lng share/applications/ombrel-setting-tool.desktop \
            share/icons/hicolor/scalable/apps/ombrel-setting-tool.svg \
            share/metainfo/io.github.ombrel.SettingTool.metainfo.xml share/man/man1/ombrelctl.1 \
            share/man/man1/ombrel-vprinter.1 share/man/man1/ombrel-setting-tool.1 \
            share/bash-completion/completions/ombrelctl; do
  [ -f "$prefix/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
[ -n "$(find "$work/root" -name 60-ombrel-usb-printer.rules)" ] || { echo "missing: the udev rule"; exit 1; }

# Run from the unpacked bin directory, ombrelctl keeps its files in the
# configuration directory, not beside itself.
XDG_CONFIG_HOME="$work/config" "$prefix/bin/ombrelctl" --set BaudRate=38400
[ -f "$work/config/ombrel/sysconfig.ini" ] || { echo "no sysconfig.ini in XDG_CONFIG_HOME/ombrel"; exit 1; }
[ "$(ls "$prefix/bin" | wc -l)" -eq 3 ] || { echo "written into bin:"; ls "$prefix/bin"; exit 1; }
echo "package installs and runs"
