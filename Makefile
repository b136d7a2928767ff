# Two commands do everything on a fresh Debian machine:
#   make run   builds (Release) and starts the main program
#   make test  builds (Debug, AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test
PACKAGES := cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libfreetype-dev \
            fonts-dejavu-core
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run run-pictorel run-vantle test setup build-release build-test clean

setup:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build-release: setup
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELINOR_TESTS=OFF
	cmake --build build/release -j $(JOBS)

build-test: setup
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELINOR_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

# The design editor, Brodera.
run: build-release
	./build/release/bin/brodera

# The picture digitizer, Pictorel.
run-pictorel: build-release
	./build/release/bin/pictorel

# The Maxiframe layout program, Vantle.
run-vantle: build-release
	./build/release/bin/vantle

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build
