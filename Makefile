# Front door. `make run` builds and starts Talvero; `make test` builds and passes every
# test (a normal build, the same suite under AddressSanitizer and UBSan, and a bounded
# fuzzing run). Both install whatever Debian packages are missing first. `make package`
# builds the Debian package; `make install` installs for the current user (~/.local), or
# system-wide (/usr/local) when run as root, or under PREFIX=...
.PHONY: all deps build run test test-normal test-asan fuzz fuzz-build bench package install clean

JOBS ?= $(shell nproc)
# Most tests spend their time waiting (on the print server, on windows), so twice as many
# run as there are cores; those that share the print server take turns all the same.
TEST_JOBS ?= $(shell expr 2 \* $(JOBS))
CMAKE_GEN := -G Ninja
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
FUZZ_SECONDS ?= 30
# clang compiles this Qt code about twice as fast as g++, and its sanitizers several times
# faster; g++ stands in where clang is missing. Looked up when a build is configured, after
# the packages are installed.
CXX_COMPILER ?= $$(command -v clang++ || command -v c++)
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)

all: build

deps:
	@bash scripts/install-deps.sh
	@bash scripts/sepa-schema.sh $(BUILD)/esquemas

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=$(CXX_COMPILER)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/app/talvero

# The fuzzer takes one core for its time while the normal tests, which mostly wait, run
# beside it; its log is shown once both are done.
test: build fuzz-build
	@status=0; \
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) >$(FUZZ_BUILD)/fuzz.log 2>&1 & fuzzer=$$!; \
	(cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS)) || status=1; \
	if wait $$fuzzer; then tail -n 12 $(FUZZ_BUILD)/fuzz.log; \
	else cat $(FUZZ_BUILD)/fuzz.log; echo "fuzzing failed: $(FUZZ_BUILD)/fuzz.log" >&2; status=1; fi; \
	exit $$status
	$(MAKE) test-asan

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTALVERO_SANITIZE=ON \
	  -DCMAKE_CXX_COMPILER=$(CXX_COMPILER)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(TEST_JOBS) -LE nosanitize

fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVERO_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The benchmarks take their samples from the tests' support libraries, so the tests are
# configured here too.
bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTALVERO_BENCH=ON \
	  -DCMAKE_CXX_COMPILER=$(CXX_COMPILER)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash bench/run.sh $(BENCH_BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
