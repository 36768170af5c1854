# Entry points for a fresh Debian machine; each installs what it needs first.
#   make demo   the wizard under Wine on the bundled sample package
#   make test   both builds and their whole test suites (host, host under the
#               sanitizers, short fuzz runs, Wine), in two lanes side by
#               side (each part's output whole when it ends), then the time
#               each part took
#   make fuzz-long   every fuzzer for FUZZ_LONG_SECONDS each
#   make msi    QuillexPrinterDriver.msi beside the Windows build's dist/
#   make sign   the same with dist/'s programs and the MSI signed: the maker's
#               certificate QX_SIGN_PFX (a PFX file) and QX_SIGN_PASSWORD come
#               from the environment (scripts/sign.sh)
#   make bench  the benchmarks' figures beside their goals (no verdict): the host
#               build's, then under Wine the 32-bit build's (where the machine
#               runs it) and the 64-bit build's: paint, start-up, page switch,
#               installation
# The Windows build is 32-bit, as the installer ships; a 64-bit build of the
# same sources runs the Windows-side tests under Wine's 64-bit loader, which
# also works where the machine cannot run 32-bit programs.

BUILD ?= build
JOBS ?= $(shell nproc)
# Every build and test step adds its seconds to this table; `make test` prints it.
TIMES = $(BUILD)/test-times.txt
timed = bash scripts/timed.sh $(TIMES) $@

.PHONY: demo test test-lanes lane-windows lane-host deps host windows windows64 test-host test-windows test-windows64 clean \
	host-asan host-tsan test-host-asan test-host-tsan fuzzers test-fuzz fuzz-long bench msi sign

deps:
	@bash scripts/install-deps.sh

host: deps
	$(timed) cmake -S . -B $(BUILD)/host -DCMAKE_BUILD_TYPE=Debug
	$(timed) cmake --build $(BUILD)/host -j $(JOBS)

windows: deps
	$(timed) cmake -S . -B $(BUILD)/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	$(timed) cmake --build $(BUILD)/windows -j $(JOBS)

windows64: deps
	$(timed) cmake -S . -B $(BUILD)/windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	$(timed) cmake --build $(BUILD)/windows64 -j $(JOBS)

msi: windows
	cmake --build $(BUILD)/windows --target msi -j $(JOBS)

sign: windows
	@test -n "$$QX_SIGN_PFX" || { echo "make sign needs QX_SIGN_PFX and QX_SIGN_PASSWORD"; exit 1; }
	cmake --build $(BUILD)/windows --target msi -j $(JOBS)

test-host: host
	$(timed) ctest --test-dir $(BUILD)/host --output-on-failure -j $(JOBS)
	@cat $(BUILD)/host/tests/host/*_sweep_figures.txt

test-windows: windows
	$(timed) ctest --test-dir $(BUILD)/windows --output-on-failure -j $(JOBS)

test-windows64: windows64
	$(timed) ctest --test-dir $(BUILD)/windows64 --output-on-failure -j $(JOBS)

# The host tests again under AddressSanitizer + UndefinedBehaviorSanitizer and
# under ThreadSanitizer; any report fails the run.
host-asan: deps
	$(timed) cmake -S . -B $(BUILD)/host-asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=address
	$(timed) cmake --build $(BUILD)/host-asan -j $(JOBS)

host-tsan: deps
	$(timed) cmake -S . -B $(BUILD)/host-tsan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=thread
	$(timed) cmake --build $(BUILD)/host-tsan -j $(JOBS)

test-host-asan: host-asan
	$(timed) env ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(BUILD)/host-asan --output-on-failure -j $(JOBS)

test-host-tsan: host-tsan
	$(timed) env TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --test-dir $(BUILD)/host-tsan --output-on-failure -j $(JOBS)

# libFuzzer harnesses (clang): a short bounded run of each in the test
# command, a long one on demand. Corpora grow in $(BUILD)/fuzz/corpus; the
# seeds stay in fuzz/seeds.
FUZZ_SECONDS ?= 20
FUZZ_LONG_SECONDS ?= 1800

fuzzers: deps
	$(timed) cmake -S fuzz -B $(BUILD)/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	$(timed) cmake --build $(BUILD)/fuzz -j $(JOBS)

test-fuzz: fuzzers
	$(timed) bash scripts/run-fuzzers.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

fuzz-long: fuzzers
	bash scripts/run-fuzzers.sh $(BUILD)/fuzz $(FUZZ_LONG_SECONDS)

# Two lanes side by side: the Windows builds and their Wine suites, which
# wait more than they compute, and the host builds and suites, which compute.
# Within a lane the parts run one after the other, each part's output printed
# whole when it ends. Each Wine suite has a screen of its own
# (scripts/wine-run.sh).
test: deps
	@mkdir -p $(BUILD) && rm -f $(TIMES)
	@started=$$(date +%s) status=0; \
	  $(MAKE) --no-print-directory --output-sync=target -j 2 test-lanes || status=$$?; \
	  bash scripts/print-times.sh $(TIMES) $$started; exit $$status

test-lanes: lane-windows lane-host

lane-windows:
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory test-windows64

lane-host:
	@$(MAKE) --no-print-directory test-host
	@$(MAKE) --no-print-directory test-host-asan
	@$(MAKE) --no-print-directory test-host-tsan
	@$(MAKE) --no-print-directory test-fuzz

bench: host windows windows64
	$(BUILD)/host/tests/host/inf_catalog_bench
	bash scripts/bench.sh $(BUILD)

demo: windows windows64
	bash scripts/demo.sh $(BUILD)/windows/dist $(BUILD)/windows64/dist $(BUILD)/demo

clean:
	rm -rf $(BUILD)
