# Tessaly: `make run` builds and starts the program, `make test` builds and
# runs every test. Both install the Debian packages the build needs first
# (as root through apt-get; otherwise the apt-get line to run is printed).

SHELL    := /bin/bash
BUILD    ?= build
PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev \
            libjpeg62-turbo-dev libgif-dev libwmf-dev libuemf-dev libemf2svg-dev \
            fonts-urw-base35 libgtest-dev fonts-dejavu-core xvfb xauth
# PNG is in Qt itself; WebP and TIFF come through Qt's image plugins; HEIF
# and AVIF through libheif, whose Debian build brings the HEVC (libde265,
# x265) and AV1 (dav1d, aom) decoders and encoders.
PACKAGES += qt6-image-formats-plugins libheif-dev libtiff-dev
# libde265 itself decodes HEVC for libheif, so that damaged data is refused.
PACKAGES += libde265-dev
# zlib: PNG colour profiles and chunk checksums.
PACKAGES += zlib1g-dev
# Only the tests need these: the gallery pages are checked in a real browser.
TEST_PACKAGES := chromium
# The manual page of tessaly-batch and the Debian package (its library
# dependencies); the installed desktop entry and metadata are validated.
PACKAGES      += help2man dpkg-dev file
# Colour profiles of photos converted to sRGB.
PACKAGES      += liblcms2-dev
# JPEGs turned without loss (libjpeg-turbo's transform), and photo
# information carried into written files (exiv2).
PACKAGES      += libturbojpeg0-dev libexiv2-dev
TEST_PACKAGES += desktop-file-utils appstream
# File lists sort in the locale's collation: the tests check it under en_US.UTF-8.
TEST_PACKAGES += locales
# The README's recipe for spreading an archive runs under GNU parallel.
TEST_PACKAGES += parallel

.PHONY: all deps test-deps install-packages configure build run test test-locale sanitize clean fuzz-configure fuzz-build fuzz

# The decoders and the settings file also run under AddressSanitizer and
# UndefinedBehaviorSanitizer, with leak checking; an allocation over 1 GiB
# counts as a fault. They are built in the fuzzers' tree (clang, the same
# sanitizers), so that the libraries they share are compiled once.
SANITIZED_TESTS := imaging_tests jpegthumbnail_tests settings_tests photoformats_tests
SANITIZER_ENV   := QT_QPA_PLATFORM=offscreen \
                   ASAN_OPTIONS=detect_leaks=1:max_allocation_size_mb=1024:allocator_may_return_null=0 \
                   LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
                   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# libFuzzer targets (fuzz/), built with clang into $(BUILD)-fuzz. `make fuzz`
# runs each for FUZZ_SECONDS; `make test` runs each for FUZZ_TEST_SECONDS, so
# they keep building and running. Corpora grow in $(BUILD)-fuzz/corpus; seeds
# are the files in tests/data, the inputs kept in tests/data/fuzz (each run
# replays them first) and small files written by the program's writers.
FUZZ_TARGETS := fuzz_jpeg fuzz_gif fuzz_bmp fuzz_emf fuzz_wmf fuzz_settings \
                fuzz_png fuzz_webp fuzz_tiff fuzz_heic fuzz_avif
FUZZ_TARGETS += fuzz_exif
# HEIF and AVIF can run in the fuzzer's process only because the reader
# checks a grid's canvas against its tiles before libheif 1.15 allocates it
# (imaging/codecs/heifitems.h): at the size the grid's data claims, gigabytes
# from a few hundred bytes; and what each derived picture is built from, on
# which libheif 1.15 fails an assertion and aborts when it is no picture.
FUZZ_RUN_TARGETS ?= $(FUZZ_TARGETS)
FUZZ_SHORT_TARGETS := $(FUZZ_TARGETS)
FUZZ_SECONDS ?= 240
FUZZ_TEST_SECONDS ?= 5
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_ENV := QT_QPA_PLATFORM=offscreen \
            ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

all: build

deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES)"

test-deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(TEST_PACKAGES)"

install-packages:
	@missing=$$(for p in $(WANTED); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get install -y --no-install-recommends" $$missing; \
	    exit 1; \
	  fi; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CONFIGURE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/tessaly

# The tests build with warnings as errors (a plain build does not); a fresh
# tree is configured so at once, an existing one only when it is not yet.
test: CONFIGURE_FLAGS += -DTESSALY_WERROR=ON
test: test-deps configure
	@grep -qx 'TESSALY_WERROR:BOOL=ON' $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DTESSALY_WERROR=ON
	cmake --build $(BUILD)
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) FUZZ_RUN_TARGETS="$(FUZZ_SHORT_TARGETS)"
	@$(MAKE) --no-print-directory test-locale
	ctest --test-dir $(BUILD) --output-on-failure -j2

# The sorting tests run under en_US.UTF-8; it is generated when missing (as root).
test-locale:
	@if ! locale -a 2>/dev/null | grep -qix 'en_US.utf8'; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    sed -i 's/^# *en_US.UTF-8/en_US.UTF-8/' /etc/locale.gen && locale-gen; \
	  else \
	    echo "The locale en_US.UTF-8 is missing; the sorting tests skip. Generate it with locale-gen."; \
	  fi; \
	fi

# The sanitized test programs and the fuzzers run as many at a time as the
# machine has cores; each one's output is shown when it ends, and any
# failure fails the whole.
JOBS ?= $(shell nproc)

sanitize: fuzz-configure
	cmake --build $(BUILD)-fuzz --target $(SANITIZED_TESTS)
	@printf '%s\n' $(SANITIZED_TESTS) | xargs -P $(JOBS) -I{} bash -c \
	  'out=$$($(SANITIZER_ENV) $(BUILD)-fuzz/bin/{} --gtest_brief=1 2>&1); s=$$?; printf "== %s\n%s\n" {} "$$out"; exit $$s'

# One tree for the fuzzers and the sanitized tests: clang, AddressSanitizer
# and UndefinedBehaviorSanitizer, coverage for the fuzzers. Its tests are
# listed when run, not when built (the sanitizers would slow every build).
fuzz-configure:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(FUZZ_PACKAGES)"
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTESSALY_FUZZ=ON -DTESSALY_SANITIZE=ON \
	  -DTESSALY_WERROR=OFF -DTESSALY_TEST_DISCOVERY=PRE_TEST

fuzz-build: fuzz-configure
	cmake --build $(BUILD)-fuzz --target $(FUZZ_TARGETS) fuzz_seeds tessaly-metafile-player

# Each target's corpus gets the seeds of its extension (the kept inputs of
# tests/data/fuzz among them); then the targets run -max_total_time seconds
# each, JOBS at a time.
# A crash fails `make fuzz` with the crashing input in $(BUILD)-fuzz/.
fuzz: fuzz-build
	@set -e; cd $(BUILD)-fuzz; mkdir -p seeds; $(FUZZ_ENV) bin/fuzz_seeds seeds; \
	for t in $(FUZZ_RUN_TARGETS); do \
	  ext=$${t#fuzz_}; mkdir -p corpus/$$t; \
	  case $$ext in settings) cp -n $(CURDIR)/tests/data/*.ini corpus/$$t/ 2>/dev/null || true;; \
	    *) for e in $$ext $$(case $$ext in jpeg) echo jpg;; tiff) echo tif;; esac); do \
	         cp -n $(CURDIR)/tests/data/*.$$e $(CURDIR)/tests/data/fuzz/*.$$e seeds/*.$$e corpus/$$t/ 2>/dev/null || true; \
	       done;; esac; \
	done
	@cd $(BUILD)-fuzz && printf '%s\n' $(FUZZ_RUN_TARGETS) | xargs -P $(JOBS) -I{} bash -c \
	  'out=$$($(FUZZ_ENV) bin/{} corpus/{} -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=2560 \
	     -max_len=65536 -print_final_stats=1 2>&1); s=$$?; \
	   printf "== %s (%s s)\n%s\n" {} $(FUZZ_SECONDS) "$$(grep -E "^(#|==|stat::|Done|INFO: -max)|ERROR|SUMMARY" <<<"$$out" | tail -n 8)"; \
	   exit $$s'

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz

# `make install PREFIX=/usr/local` (DESTDIR= for staging) and `make package`
# (build/tessaly_VERSION-1_ARCH.deb, for `apt-get install ./build/tessaly_*.deb`).
PREFIX ?= /usr/local
.PHONY: install package
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cmake --build $(BUILD) --target package
