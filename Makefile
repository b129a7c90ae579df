# Quorvel: `make run` starts the program, `make test` installs, builds and
# runs every test tier, `make dist` gathers the shippable programs.
# Two Windows builds: win32 ships; win64 carries the Windows test tiers on
# hosts that cannot run 32-bit programs (scripts/windows-build decides).
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win32
WIN64  := $(BUILD)/win64
JOBS   ?= $(shell nproc)
CMAKE_TYPE ?= Release

.PHONY: all native win32 win64 test run dist bench fuzz bootstrap clean install

all: win32

bootstrap:
	scripts/bootstrap

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE)

$(WIN)/CMakeCache.txt:
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DQUORVEL_TOOLS_DIR=$(abspath $(NATIVE))/tools

$(WIN64)/CMakeCache.txt:
	cmake -S . -B $(WIN64) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DQUORVEL_TOOLS_DIR=$(abspath $(NATIVE))/tools

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win32: native $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

win64: native $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j $(JOBS)

# The Windows tiers run on the build the host can run, chosen after the
# bootstrap has installed Wine.
test: bootstrap
	$(MAKE) win32 win64
	scripts/run-tests $(NATIVE) $(BUILD)/$$(scripts/windows-build)

run: bootstrap
	$(MAKE) $$(scripts/windows-build)
	scripts/run-quorvel $(BUILD)/$$(scripts/windows-build)

# Signed when a certificate is configured (QUORVEL_SIGN_*: scripts/sign-pe);
# otherwise it says that the files are unsigned.
dist: win32
	scripts/make-dist $(WIN) dist

# The command-line tool `quorvel` into $(PREFIX)/bin.
PREFIX ?= /usr/local
install: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS) --target quorvel
	cmake --install $(NATIVE) --prefix $(PREFIX) --component quorvel_cli

bench: win32
	$(MAKE) $$(scripts/windows-build)
	scripts/run-benchmarks $(NATIVE) $(WIN)

# Each fuzz target for FUZZ_SECONDS (make test runs each for 20 s).
FUZZ_SECONDS ?= 60
fuzz: native
	scripts/run-fuzz --seconds $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
