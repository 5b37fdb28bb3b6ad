# The two everyday commands: `make demo` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
SECONDS    ?= 60

# Ninja and ccache when installed: every rebuild, and CI, is much faster.
# A build folder keeps the generator it was made with.
NINJA  := $(if $(shell command -v ninja),-G Ninja,)
CCACHE := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)
# ccache hits across clones of the tree (CI) as well.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
# No test may wait for ever: one that has not ended after ten minutes (the
# slowest takes half a minute under the sanitizers) is stopped, reported by
# name and run once more, so a rare stall shows up without holding the run.
# The tests read nothing from the terminal.
CTEST_FLAGS = --output-on-failure -j $(JOBS) --timeout 600 --repeat after-timeout:2 </dev/null
configure = cmake -S . -B $(1) $(if $(wildcard $(1)/CMakeCache.txt),,$(NINJA)) $(CCACHE)

.PHONY: all bootstrap bootstrap-fuzz build demo test test-asan test-cluster bench fuzz format format-check \
        package install clean

all: build

bootstrap:
	@tools/bootstrap.sh

bootstrap-fuzz:
	@tools/bootstrap.sh --fuzz

build: bootstrap
	$(if $(wildcard $(BUILD)/CMakeCache.txt),,$(call configure,$(BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo)
	cmake --build $(BUILD) -j $(JOBS)
	@ln -sf $(BUILD)/compile_commands.json compile_commands.json

demo: build
	tools/demo.sh $(BUILD)

# Tests and warnings-as-errors are for developers and CI, not for a plain build.
test: bootstrap
	$(call configure,$(BUILD)) -DBUILD_TESTING=ON -DRUZO_WERROR=ON \
	  $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DCMAKE_BUILD_TYPE=RelWithDebInfo)
	cmake --build $(BUILD) -j $(JOBS)
	@ln -sf $(BUILD)/compile_commands.json compile_commands.json
	cd $(BUILD) && ctest $(CTEST_FLAGS)

# The cluster recipes on this machine: a one-node Slurm, GNU parallel with
# this machine as host (each skips when its tools cannot be installed).
test-cluster: build
	@tools/bootstrap-cluster.sh
	tests/cluster/slurm_array_test.sh $(BUILD)/ruzo
	tests/cluster/parallel_hosts_test.sh $(BUILD)/ruzo

test-asan: bootstrap
	$(call configure,$(ASAN_BUILD)) -DCMAKE_BUILD_TYPE=Debug -DRUZO_SANITIZE=ON \
	  -DBUILD_TESTING=ON -DRUZO_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest $(CTEST_FLAGS)

# Each run is compared with the previous one before replacing it: the stage
# timings with bench/stages.json, the corpus table with bench/results.md.
bench: bootstrap
	$(call configure,$(BUILD)) -DRUZO_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@if [ -x $(BUILD)/ruzo_bench ]; then \
	  $(BUILD)/ruzo_bench --benchmark_out=$(BUILD)/bench-stages.json --benchmark_out_format=json && \
	  bench/compare_stages bench/stages.json $(BUILD)/bench-stages.json && \
	  cp $(BUILD)/bench-stages.json bench/stages.json; fi
	bench/run_corpus --ruzo $(BUILD)/ruzo

# Every fuzz target of tests/fuzz, built with clang's libFuzzer, run SECONDS
# seconds each from its seeds; crashes are kept in $(FUZZ_BUILD)/crashes/.
fuzz: bootstrap bootstrap-fuzz
	$(call configure,$(FUZZ_BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUZO_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	tools/run_fuzzers.sh $(FUZZ_BUILD) $(SECONDS)

# The Debian package, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD)

format:
	find src tests bench tools -name '*.cpp' -o -name '*.h' | xargs clang-format-14 -i

format-check:
	tools/format_check.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
