# The two commands of the README: `make run` and `make test`. Both install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
# The packaging test and `make package`: the desktop-entry and AppStream validators,
# dpkg-shlibdeps, lintian, and the icon renderer of scripts/make-icon.sh.
PACKAGING_PACKAGES = desktop-file-utils appstream dpkg-dev lintian librsvg2-bin
DEBIAN_PACKAGES = cmake g++ make qtbase5-dev libqt5serialport5-dev edid-decode $(PACKAGING_PACKAGES)
# The ThreadSanitizer run-time of Debian 12's g++.
TSAN_PACKAGES = libtsan2

.PHONY: all deps configure build build-programs run test test-asan test-tsan bench install package clean

# The three programs and their data, without the tests and benchmarks.
PROGRAMS = tavilon tavilon-sim tavilon-cli

all: build

deps:
	@./scripts/install-deps.sh $(DEBIAN_PACKAGES)

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what `make run` starts, and only what a user needs to read: the compiler's and CMake's
# output goes to $(BUILD)/build-programs.log, shown when the build fails.
build-programs: deps
	@mkdir -p $(BUILD)
	@echo "Building $(PROGRAMS) in $(BUILD)/ (details in $(BUILD)/build-programs.log)..."
	@{ [ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo; } \
		>$(BUILD)/build-programs.log 2>&1 \
		&& cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAMS) >>$(BUILD)/build-programs.log 2>&1 \
		|| { tail -n 40 $(BUILD)/build-programs.log; echo "The build failed; see $(BUILD)/build-programs.log"; exit 1; }

run: build-programs
	@./scripts/run-with-sim.sh $(BUILD)/bin

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAVILON_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The core, simulator, headless client and their tests (the widget tests are left out) under
# ThreadSanitizer. Any report fails its test; scripts/tsan.supp lists the Qt-internal ones.
test-tsan: deps
	@./scripts/install-deps.sh $(TSAN_PACKAGES)
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVILON_SANITIZE_THREAD=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && QT_QPA_PLATFORM=offscreen \
		TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/scripts/tsan.supp" \
		ctest --output-on-failure -j $(JOBS)

bench: build
	./scripts/run-benchmarks.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),$(CURDIR)/install)

# A Debian package and a portable .tar.gz in $(BUILD)/, then lintian on the package: any error
# fails, warnings are shown.
package: build
	cd $(BUILD) && cpack
	lintian --fail-on error $(BUILD)/tavilon_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
