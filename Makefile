# The two set-up commands on a fresh Debian 12 machine are `make run` and
# `make test`; everything else is for developers.
BUILD      ?= build
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test bench fuzz tsan demo install install-udev clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/kestrel

test: build
	bash scripts/run-tests.sh $(BUILD)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKESTREL_TESTS=OFF -DKESTREL_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(BENCH_BUILD)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_TESTS=OFF -DKESTREL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $${FUZZ_SECONDS:-60}

tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	KESTREL_TEST_LABEL=threads bash scripts/run-tests.sh $(TSAN_BUILD)

demo: build
	bash scripts/run-demo.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

install-udev: build
	install -m 0644 $(BUILD)/bin/70-kestrel.rules /etc/udev/rules.d/70-kestrel.rules
	-udevadm control --reload-rules && udevadm trigger --subsystem-match=hidraw

clean:
	rm -rf $(BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
