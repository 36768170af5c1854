# Entry points for a fresh Debian machine; each installs what it needs first.
#   make demo   the wizard under Wine on the bundled sample package
#   make test   both builds and their whole test suites (host and Wine)
#   make bench  the Windows build's benchmarks under Wine (figures, no verdict)

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: demo test bench deps host windows test-host test-windows clean

deps:
	@bash scripts/install-deps.sh

host: deps
	cmake -S . -B $(BUILD)/host -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD)/host -j $(JOBS)

windows: deps
	cmake -S . -B $(BUILD)/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/windows -j $(JOBS)

test-host: host
	ctest --test-dir $(BUILD)/host --output-on-failure -j $(JOBS)

test-windows: windows
	bash scripts/with-display.sh ctest --test-dir $(BUILD)/windows --output-on-failure

test: test-host test-windows

bench: windows
	QX_WINE_PREFIXES=$(CURDIR)/$(BUILD)/windows/wine QX_WINE_ARCH=win32 LC_ALL=zh_CN.UTF-8 \
	  bash scripts/with-display.sh scripts/wine-run.sh $(BUILD)/windows/tests/wine/progress_paint_bench.exe

demo: windows
	bash scripts/demo.sh $(BUILD)/windows/dist $(BUILD)/demo

clean:
	rm -rf $(BUILD)
