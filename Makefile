# Two commands on a fresh Debian 12 machine:
#   make demo   installs what is missing, builds, runs the main job on examples/
#   make test   installs what is missing, builds, runs every test
BUILD ?= build
JOBS  ?= 2
# WERROR=ON makes the warnings of the program's own code errors (CI does).
WERROR ?= OFF

.PHONY: all deps build demo test deb clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSO_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@./scripts/demo.sh $(BUILD)

test: build
	@./scripts/check-layers.sh
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Debian package, tamso_<version>_<arch>.deb in the build folder.
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) out

# The core and the batch program without Qt, their unit and end-to-end tests
# under the address and undefined-behaviour sanitizers.
.PHONY: test-sanitize
test-sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAMSO_SANITIZE=ON -DTAMSO_GUI=OFF \
	  -DTAMSO_WERROR=$(WERROR) >/dev/null
	@cmake --build build-asan -j $(JOBS) --target tamso_unit_tests tamso_e2e_tests
	@cd build-asan && ASAN_OPTIONS=detect_stack_use_after_return=1 ctest --output-on-failure -j $(JOBS) -L "unit|e2e"
