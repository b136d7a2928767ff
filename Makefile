# Two commands do everything on a fresh Debian machine:
#   make run   builds (Release) and starts the main program
#   make test  builds (Debug, AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test,
#              then every fuzz harness for FUZZ_TEST_SECONDS each
#   make fuzz  runs every fuzz harness for FUZZ_SECONDS each, FUZZ_JOBS at a time
# The fuzz harnesses are built with clang and libFuzzer (Debian's clang and the compiler-rt
# package of the same version).
PACKAGES := cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libfreetype-dev \
            fonts-dejavu-core clang libclang-rt-14-dev desktop-file-utils
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 300
FUZZ_TEST_SECONDS ?= 10
FUZZ_JOBS ?= $(JOBS)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run run-pictorel run-vantle test fuzz setup build-release build-test build-fuzz clean

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

build-fuzz: setup
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVELINOR_FUZZ=ON -DVELINOR_TESTS=OFF -DVELINOR_BENCH=OFF
	cmake --build build/fuzz -j $(JOBS) --target velinor_fuzz

# The design editor, Brodera.
run: build-release
	./build/release/bin/brodera

# The picture digitizer, Pictorel.
run-pictorel: build-release
	./build/release/bin/pictorel

# The Maxiframe layout program, Vantle.
run-vantle: build-release
	./build/release/bin/vantle

test: build-test build-fuzz
	cd build/test && ctest --output-on-failure -j $(JOBS)
	bash fuzz/run-fuzzers build/fuzz $(FUZZ_TEST_SECONDS) $(JOBS)

fuzz: build-fuzz
	bash fuzz/run-fuzzers build/fuzz $(FUZZ_SECONDS) $(FUZZ_JOBS)

clean:
	rm -rf build
