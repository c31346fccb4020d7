# Thin wrapper around CMake. `make run` compares the bundled sample graphs,
# `make test` builds everything under the sanitizers and runs every test, then
# runs them again in a plain build, where the containers use their record pools
# (the sanitizers turn the pools off to watch every record on its own).
# `make install` installs into PREFIX (under DESTDIR, for staging), `make package`
# makes the Debian package in $(BUILD_DIR)/package.
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
PLAIN_TEST_BUILD_DIR ?= build-test-plain
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all run test install package clean

all:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DPLANDREX_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Prints only the report: the build's own output is shown only when the build fails.
run:
	@log=$$(mktemp) && trap 'rm -f "$$log"' EXIT && \
	  if ! $(MAKE) --no-print-directory all >"$$log" 2>&1; then cat "$$log" >&2; exit 1; fi
	@./$(BUILD_DIR)/plandrex/plandrex examples/as-snapshot-1.zng examples/as-snapshot-2.zng

test:
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DPLANDREX_TESTS=ON \
	  -DPLANDREX_SANITIZE=ON -DPLANDREX_WERROR=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(PLAIN_TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANDREX_TESTS=ON \
	  -DPLANDREX_WERROR=ON
	cmake --build $(PLAIN_TEST_BUILD_DIR) -j $(JOBS)
	cd $(PLAIN_TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

install: all
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package: all
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(PLAIN_TEST_BUILD_DIR)
