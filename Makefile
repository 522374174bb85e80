# Quick start: `make run` (builds only the runner and the tour) and `make test` (builds and tests
# everything). Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench format clean asan package design-fuzz

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
	  ctest --output-on-failure -j $(JOBS)

# The Debian packages, mebrox and mebrox-dev, in $(BUILD_DIR).
package: build
	cmake --build $(BUILD_DIR) --target package

# Only what the tour needs: the runner and the tour's files, so that a first run comes soon.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target mebrox-run tour
	@./scripts/run-example.sh $(BUILD_DIR)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
# Any undefined behaviour stops the test that runs into it; leaks that only the system libraries
# below us make are listed, with the reason, in scripts/lsan.supp.
ASAN_DIR ?= build-asan
ASAN_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

# The tests are listed by running them at build time, so the build runs with these too.
ASAN_ENV = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

ASAN_CONFIGURE = cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DMEBROX_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS=$(ASAN_FLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$(ASAN_FLAGS)" "-DCMAKE_SHARED_LINKER_FLAGS=$(ASAN_FLAGS)"

asan: deps
	$(ASAN_CONFIGURE)
	$(ASAN_ENV) cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(ASAN_ENV) ctest --output-on-failure -j $(JOBS)

# The design-script fuzzer's long run (fuzz/README.md), on the programs of the asan build. Cases
# run one at a time unless FUZZ_JOBS says otherwise; what fails is kept in $(ASAN_DIR)/design-fuzz.
DESIGN_FUZZ_ARGS ?= --scripts 2000 --files 1000 --seed 1
FUZZ_JOBS ?= 1
design-fuzz: deps
	$(ASAN_CONFIGURE)
	$(ASAN_ENV) cmake --build $(ASAN_DIR) -j $(JOBS) \
	  --target mebrox-studio mebrox-run mebrox-design-catalog tour
	nice python3 fuzz/design/design_fuzz.py --build $(ASAN_DIR) --out $(ASAN_DIR)/design-fuzz \
	  --jobs $(FUZZ_JOBS) --timeout 300 $(DESIGN_FUZZ_ARGS)

bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do $$b; done

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
