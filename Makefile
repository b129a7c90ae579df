# Quorvel: `make run` starts the program, `make test` installs, builds and
# runs every test tier, `make dist` gathers the shippable programs.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win32
JOBS   ?= $(shell nproc)
CMAKE_TYPE ?= Release

.PHONY: all native win32 test run dist bench fuzz bootstrap clean install

all: win32

bootstrap:
	scripts/bootstrap

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE)

$(WIN)/CMakeCache.txt:
	cmake -S . -B $(WIN) -DCMAKE_BUILD_TYPE=$(CMAKE_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DQUORVEL_TOOLS_DIR=$(abspath $(NATIVE))/tools

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win32: native $(WIN)/CMakeCache.txt
	cmake --build $(WIN) -j $(JOBS)

test: bootstrap
	$(MAKE) win32
	scripts/run-tests $(NATIVE) $(WIN)

run: win32
	scripts/run-quorvel $(WIN)

dist: win32
	mkdir -p dist
	cp $(WIN)/app/shell/Quorvel.exe dist/
	cp $(WIN)/setup/setup.exe dist/
	cp $(WIN)/cli/quorvel-cli.exe dist/

# The command-line tool `quorvel` into $(PREFIX)/bin.
PREFIX ?= /usr/local
install: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS) --target quorvel
	cmake --install $(NATIVE) --prefix $(PREFIX) --component quorvel_cli

bench: win32
	scripts/run-benchmarks $(NATIVE) $(WIN)

# Each fuzz target for FUZZ_SECONDS (make test runs each for 20 s).
FUZZ_SECONDS ?= 60
fuzz: native
	scripts/run-fuzz --seconds $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
