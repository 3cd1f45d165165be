# Two commands on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts the game
#   make test  the same set-up, then the whole test suite (normal and asan builds)
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan

# Debian packages the build and the tests need.
DEPS := cmake g++ make pkg-config libsdl2-dev libpng-dev zlib1g-dev libfreetype-dev \
        libogg-dev libvorbis-dev libgtest-dev libbenchmark-dev libpixman-1-dev clang

.PHONY: run test deps build build-asan test-asan bench assets clean

run: build
	./$(BUILD)/gobblestamp

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan

deps:
	@missing=""; for p in $(DEPS); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGOBBLE_SANITIZE=ON -DGOBBLE_BENCH=OFF >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) -L default

bench: build
	./$(BUILD)/gobblestamp-bench

# Regenerates the art, font and sounds (needs the art tools; the results are committed).
assets:
	tools/make_assets.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
