# The two commands of the README: `make run` and `make test`. Both install
# what is missing on a Debian 12 machine first. `make install` installs the
# programs, the language files and the desktop entry under PREFIX; `make deb`
# builds the Debian package.

BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local
# ccache keys objects by paths relative to the checkout, so every clone of
# the tree shares what another one compiled.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev \
            qt6-base-dev qt6-translations-l10n libgl-dev xvfb xauth fonts-noto-cjk nlohmann-json3-dev \
            libudev-dev umockdev libumockdev-dev \
            desktop-file-utils appstream libxml2-utils dpkg-dev clang-format ccache lld \
            postgresql-15 libpq-dev
# `make fuzz` also needs clang with its libFuzzer runtime.
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
FUZZ_SECONDS ?= 60

.PHONY: run install deb format format-check test deps deps-fuzz install-missing fuzz build build-asan build-tsan test-asan test-tsan bench clean

deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES)"

deps-fuzz: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(FUZZ_PACKAGES)"

install-missing:
	@missing=""; for p in $(WANTED); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD)/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
	  -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD)/release -j $(JOBS)

# The desktop tool with the virtual printer on 127.0.0.1:5100; without a
# display, the command-line demo against the same printer.
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: there is no display (DISPLAY and WAYLAND_DISPLAY are not set), so the"; \
	  echo "desktop tool cannot open its window. Run 'make run' in a desktop session to see it."; \
	  echo "Meanwhile, the same printer from the command line:"; \
	  echo; \
	  scripts/demo.sh $(BUILD)/release/bin; \
	else \
	  scripts/run-desktop.sh $(BUILD)/release/bin; \
	fi

# DESTDIR stages the files for a package; sudo only when PREFIX or udev's
# rules directory (the optional USB printer rule) needs it.
install: build
	@if [ -n "$(DESTDIR)" ] || { [ -w "$(PREFIX)" ] && [ -w /etc/udev/rules.d ]; }; then \
	  DESTDIR="$(DESTDIR)" cmake --install $(BUILD)/release; \
	else \
	  $(SUDO) cmake --install $(BUILD)/release; \
	fi

# The Debian package, in $(BUILD)/deb: apt install ./$(BUILD)/deb/ombrel-setting-tool_*.deb
deb: deps
	cmake -S . -B $(BUILD)/deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr -DOMBREL_UDEV_RULES_DIR=lib/udev/rules.d
	cmake --build $(BUILD)/deb -j $(JOBS)
	cd $(BUILD)/deb && cpack
	@ls $(BUILD)/deb/ombrel-setting-tool_*.deb

build-asan: deps
	cmake -S . -B $(BUILD)/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=address
	cmake --build $(BUILD)/asan -j $(JOBS)

build-tsan: deps
	cmake -S . -B $(BUILD)/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread -DOMBREL_THREAD_TESTS_ONLY=ON
	cmake --build $(BUILD)/tsan -j $(JOBS)

test-asan: build-asan
	cd $(BUILD)/asan && ctest --output-on-failure -j $(JOBS) --timeout 300

test-tsan: build-tsan
	cd $(BUILD)/tsan && setarch $$(uname -m) -R ctest --output-on-failure -j $(JOBS) --timeout 300

# The house style first (it fails in seconds), then everything under
# AddressSanitizer and UBSan, then the threaded tests under ThreadSanitizer.
test: format-check test-asan test-tsan

# Every fuzz target for FUZZ_SECONDS seconds each (libFuzzer, clang 14, ASan
# and UBSan); prints executions and findings per target.
fuzz: deps-fuzz
	cmake -S . -B $(BUILD)/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBREL_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(BUILD)/fuzz -j $(JOBS)
	scripts/fuzz.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/release/bin/bench_*; do echo "== $$b"; $$b; done

# The house style of .clang-format: format every source, or list the files
# that are not formatted and fail.
format: deps
	scripts/format.sh

format-check: deps
	scripts/format.sh --check

clean:
	rm -rf $(BUILD)
