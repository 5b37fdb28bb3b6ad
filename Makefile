# The two everyday commands: `make demo` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: all bootstrap build demo test test-asan test-cluster bench format clean

all: build

bootstrap:
	@tools/bootstrap.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: bootstrap $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	@ln -sf $(BUILD)/compile_commands.json compile_commands.json

demo: build
	tools/demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The cluster recipes on this machine: a one-node Slurm, GNU parallel with
# this machine as host (each skips when its tools cannot be installed).
test-cluster: build
	@tools/bootstrap-cluster.sh
	tests/cluster/slurm_array_test.sh $(BUILD)/ruzo
	tests/cluster/parallel_hosts_test.sh $(BUILD)/ruzo

test-asan: bootstrap
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DRUZO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: bootstrap
	cmake -S . -B $(BUILD) -DRUZO_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@if [ -x $(BUILD)/ruzo_bench ]; then $(BUILD)/ruzo_bench; fi
	bench/run_corpus --ruzo $(BUILD)/ruzo

format:
	find src tests bench tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
