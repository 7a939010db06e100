# Thin wrapper over CMake. Targets:
#   make demo     build in Release and run the programs on the files in examples/
#   make test     build and run every test, once plain and once under ASan+UBSan
#   make test-cluster  run the workflow on a single-node SLURM that the test
#                 starts (as root; installs Debian's slurm-wlm, slurmdbd,
#                 munge and mariadb-server)
#   make bench    build in Release and run the benchmarks in bench/ (prints figures)
#   make install  install programs, man pages and the library (PREFIX=/usr/local)
#   make fuzz     build the fuzz targets with clang's libFuzzer and run each
#                 for FUZZ_SECONDS (default 60)

BUILD     ?= build
SAN_BUILD ?= build-san
PREFIX    ?= /usr/local
JOBS      ?= $(shell nproc)
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60

# Debian packages that the build needs (htslib: aliconv reads SAM, BAM and
# CRAM through it; the library's suffix-array index sorts with
# libdivsufsort; librsvg and cairo: aliplot renders PNG and PDF), and the
# outside tools that tests compare with or run (a test whose tool is missing
# reports SKIPPED, or fails under CI).
BUILD_PACKAGES = cmake g++ pkg-config libgtest-dev zlib1g-dev libhts-dev libdivsufsort-dev librsvg2-dev libcairo2-dev
TEST_PACKAGES  = mummer minimap2 snakemake chromium librsvg2-bin libxml2-utils samtools poppler-utils tabix

CTEST = ctest --output-on-failure --no-tests=error -j $(JOBS) -LE cluster
SAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps test-deps build test test-plain test-san test-cluster demo bench install fuzz clean

all: build

deps:
	@bash tests/ensure_packages.sh $(BUILD_PACKAGES) >/dev/null || \
	  { echo "the build needs the Debian packages $(BUILD_PACKAGES): install them as root (apt-get install)" >&2; exit 1; }

test-deps:
	@bash tests/ensure_packages.sh $(TEST_PACKAGES) || echo "tests of the missing tools will be SKIPPED"

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

test: test-deps test-plain test-san

test-plain: build
	cd $(BUILD) && $(CTEST)

test-san: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMO_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && $(SAN_ENV) $(CTEST)

test-cluster: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -L cluster

demo: build
	@echo "== alichain examples/mt.gff"
	$(BUILD)/alichain/alichain examples/mt.gff
	@echo "== aliconv examples/mt.minimap2.paf, then alichain on the result"
	$(BUILD)/aliconv/aliconv examples/mt.minimap2.paf -o $(BUILD)/mt.minimap2.gff
	$(BUILD)/alichain/alichain $(BUILD)/mt.minimap2.gff | grep -v '^##date'
	@echo "== mumfind -b examples/MT-human.fa examples/MT-orang.fa, then alichain -f on the matches"
	$(BUILD)/mumfind/mumfind -b examples/MT-human.fa examples/MT-orang.fa -o $(BUILD)/mt.mum.gff
	$(BUILD)/alichain/alichain -f $(BUILD)/mt.mum.gff
	sed -n '5,7p' $(BUILD)/mt.mum.gff.chainout
	@echo "== smooth examples/hits.txt 50 $(BUILD)/hits.smooth 2"
	$(BUILD)/smooth/smooth examples/hits.txt 50 $(BUILD)/hits.smooth 2
	cat $(BUILD)/hits.smooth
	@echo "== aliplot: the dot plot of examples/mt.gff and its chains"
	$(BUILD)/alichain/alichain examples/mt.gff > $(BUILD)/mt.chain
	$(BUILD)/aliplot/aliplot examples/mt.gff $(BUILD)/mt.chain -o $(BUILD)/mt.svg
	$(BUILD)/aliplot/aliplot examples/mt.gff $(BUILD)/mt.chain -o $(BUILD)/mt.html
	@echo "dot plot written to $(BUILD)/mt.svg (picture) and $(BUILD)/mt.html (interactive page)"
	@echo "== alisyn and aliplot: 40 contigs with planted events on one canvas, alisyn's blocks by class"
	$(BUILD)/alisyn/alisyn --filter query -o $(BUILD)/assembly examples/assembly.paf
	for out in svg png html; do \
	  $(BUILD)/aliplot/aliplot examples/assembly.paf --blocks $(BUILD)/assembly.blocks.tsv \
	    --assign $(BUILD)/assembly.assign.tsv --title "40 contigs against 5 references" -o $(BUILD)/assembly.$$out || exit 1; \
	done
	@echo "whole-assembly plot written to $(BUILD)/assembly.svg, .png and .html (interactive page)"
	@echo "== alisyn: the synteny blocks of E. coli MG1655 and 536 (nucmer)"
	$(BUILD)/alisyn/alisyn -o $(BUILD)/ecoli examples/ecoli_MG1655_vs_536.nucmer.delta.gz
	cat $(BUILD)/ecoli.blocks.tsv $(BUILD)/ecoli.assign.tsv

bench: build
	bash bench/run.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

fuzz:
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
