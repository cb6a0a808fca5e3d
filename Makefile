# Siacci: the two everyday commands are `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The sanitizer build uses clang++ (the other compiler of CI); .ci/run adds -DSIACCI_WERROR=ON.
SANITIZE_CXX ?= clang++
SANITIZE_FLAGS ?=
WEB ?= build-web
WEB_PORT ?= 8080

.PHONY: all bootstrap configure build run test bench sanitize screenshots package package-check clean web web-serve web-bench

all: build

bootstrap:
	@bash scripts/bootstrap

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: bootstrap configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/siacci

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

bench: bootstrap
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)-bench -j $(JOBS) --target siacci_bench siacci_ui_bench siacci-cli
	$(BUILD)-bench/siacci_bench
	$(BUILD)-bench/siacci_ui_bench
	bash scripts/bench_tool $(BUILD)-bench/siacci-cli

sanitize: bootstrap
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DSIACCI_SANITIZE=ON \
	  -DCMAKE_CXX_COMPILER=$(SANITIZE_CXX) $(SANITIZE_FLAGS)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -LE 'slow|web'

screenshots: build
	mkdir -p $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD)/siacci_screenshots $(BUILD)/screenshots

# The web version: the core as WebAssembly and the page, into $(WEB)/; web-serve serves it on
# every address of this machine, port $(WEB_PORT), for a phone on the same network.
web: bootstrap
	bash scripts/build_web $(WEB)

web-serve: web
	node web/serve.js $(WEB) $(WEB_PORT)

web-bench: web build
	SIACCI_CLI=$(BUILD)/siacci-cli SIACCI_WEB=$(WEB) node web/test/bench.js
	SIACCI_WEB=$(WEB) node web/test/module_bench.js
	SIACCI_WEB=$(WEB) node web/test/peer_bench.js

# The Debian package, build/siacci_<version>_<arch>.deb, checked by lintian: no error and no
# warning (its notes shown too); package-check installs it on a bare Debian 12 and runs it
# there (root; the bare system is cached in ~/.cache/siacci).
package: build
	rm -f $(BUILD)/siacci_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning --display-info $(BUILD)/siacci_*.deb

package-check: package
	bash scripts/package_check $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-sanitize $(WEB)
