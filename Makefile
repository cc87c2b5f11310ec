# The two commands of the project: `make test` and `make demo`. Both install
# what the machine lacks (as root), build every configuration, and then test
# or demonstrate. Build folders go to $(BUILD), the package to $(DIST), what a
# person looks at to out/. Parallel work trees may set BUILD and DIST apart.

BUILD ?= build
DIST ?= $(CURDIR)/dist
CROSS_CONFIGS := x64 x86 x64-xp x86-xp
CMAKE_GENERATOR := Ninja
BUILD_TYPE ?= Release

toolchain_x64 := cmake/mingw-x86_64.cmake
toolchain_x86 := cmake/mingw-i686.cmake
toolchain_x64-xp := cmake/mingw-x86_64.cmake
toolchain_x86-xp := cmake/mingw-i686.cmake
toolchain_installer := cmake/mingw-i686.cmake
toolchain_installer-x64 := cmake/mingw-x86_64.cmake
options_x64-xp := -DKORVAIN_XP=ON
options_x86-xp := -DKORVAIN_XP=ON
options_installer := -DKORVAIN_COMPONENT=installer
# A test-only 64-bit build of the installer, for machines that run no 32-bit
# programs; nothing of it goes to the package.
options_installer-x64 := -DKORVAIN_COMPONENT=installer

.PHONY: all build test demo pictures corpus fuzz bench soak mutants deps clean $(addprefix build-,native $(CROSS_CONFIGS) installer installer-x64)

all: build

deps:
	@bash scripts/ensure-packages.sh

build: deps
	@$(MAKE) --no-print-directory build-native $(addprefix build-,$(CROSS_CONFIGS)) build-installer \
	  build-installer-x64

build-native:
	@cmake -S . -B $(BUILD)/native -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	  -DKORVAIN_DIST_ROOT=$(DIST) >/dev/null
	@cmake --build $(BUILD)/native

$(addprefix build-,$(CROSS_CONFIGS) installer installer-x64): build-%:
	@cmake --no-warn-unused-cli -S . -B $(BUILD)/$* -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(toolchain_$*) $(options_$*) \
	  -DKORVAIN_DIST_ROOT=$(DIST) >/dev/null
	@cmake --build $(BUILD)/$*

test: build
	@bash scripts/run-tests.sh $(BUILD) native $(CROSS_CONFIGS) installer installer-x64

demo: build
	@bash scripts/demo.sh $(BUILD)

# Contact sheets of the Layout page's generated pictures, in out/.
pictures: build-native
	@bash tools/pictures/contact_sheets.sh $(BUILD)/native/layout_pictures/layout_pictures out

clean:
	rm -rf $(BUILD) $(DIST) out

# The PPD reader over every PPD that Debian's printer packages install (under
# the sanitizers), fuzzing runs of FUZZ_SECONDS for the PPD model and for the
# private block, and the reader's speed and memory figures on the largest of
# those files.
FUZZ_SECONDS ?= 600
corpus: deps build-native
	@bash scripts/ppd-corpus.sh $(DIST)/tools/ppd-corpus $(abspath $(BUILD))/ppd-corpus

fuzz: deps
	@bash scripts/ppd-fuzz.sh $(FUZZ_SECONDS) $(abspath $(BUILD))/ppd-fuzz
	@bash scripts/private-block-fuzz.sh $(FUZZ_SECONDS) $(abspath $(BUILD))/private-block-fuzz

# The time of one opening of the printing preferences with the plug-in,
# against stand-ins with its pages and without, at each width.
bench: corpus build-x64 build-x86
	@bash scripts/ppd-bench.sh $(abspath $(BUILD))/ppd-corpus/files
	@bash scripts/opening-bench.sh $(DIST) $(abspath $(BUILD))/ppd-corpus/files $(abspath $(BUILD))

# A sample of MUTANTS single-token mutants of the portable code (drawn with
# SEED), each rebuilt natively and tested: how many the tests kill.
MUTANTS ?= 100
SEED ?= 1
mutants: deps build-native
	@python3 scripts/mutants.py --count $(MUTANTS) --seed $(SEED) --build $(abspath $(BUILD))/native

# A thousand openings of the printing preferences in one driver host process
# with the largest PPD of the corpus, at each width and variant: the resource
# ledger, the memory figures with their bound over the growth of a stand-in
# with the plug-in's pages and none of its logic, and the time of one
# opening beside those of the stand-ins (built with the host).
soak: corpus build-x64 build-x86 build-x64-xp build-x86-xp
	@bash scripts/soak.sh $(DIST) $(abspath $(BUILD))/ppd-corpus/files $(abspath $(BUILD))
