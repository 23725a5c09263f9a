# The newcomer's commands: `make run` opens the viewer on the bundled model,
# `make test` installs, builds and runs every test.
JOBS ?= 2
BUILD := build
ASAN_BUILD := build-asan
# Where `make install` puts Varnel; DESTDIR stages it in a folder instead.
PREFIX ?= /usr/local
INSTALLED := varnel mqoinfo varnel-thumbnailer manual_pages
FUZZ_BUILD := build-fuzz
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS := print_stacktrace=1:halt_on_error=1

.PHONY: deps build test test-asan test-heavy bench fuzz run install package clean format check-format

deps:
	@tools/install-deps.sh test

# Everything, tests included, and the benchmarks, so that a change which
# breaks one is found here and not at the next `make bench`.
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@tools/quiet-build.sh "Varnel, its tests and benchmarks" $(BUILD) -j $(JOBS) --target all benchmarks

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan

# Every test again with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON >/dev/null
	@tools/quiet-build.sh "Varnel and its tests with sanitizers" $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-sanitizer

# The hostile-file cases at full size: 20 MB runs of tiny records and an
# 8 GiB sparse model, about a minute.
test-heavy: build
	VARNEL_HEAVY=1 ctest --test-dir $(BUILD) --output-on-failure -R hostile_files

# The viewer against its floors, and the reader; about a quarter of an hour.
bench:
	@tools/install-deps.sh bench
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@tools/quiet-build.sh "the viewer and the benchmarks" $(BUILD) -j $(JOBS) --target varnel varnel-thumbnailer benchmarks
	@bench/run.sh $(BUILD)

# libFuzzer targets, built with clang; run one with tools/fuzz.sh.
fuzz:
	@tools/install-deps.sh test clang libclang-rt-14-dev
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

# Only the viewer and what running it needs.
# Without a display the viewer is photographed offscreen.
run:
	@tools/install-deps.sh run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@tools/quiet-build.sh "the viewer" $(BUILD) -j $(JOBS) --target varnel cp932cat
	@tools/run-viewer.sh $(BUILD)

# The programs, the model files' types, the thumbnailer, the menu entry, the
# icon and the manual pages under PREFIX; then the desktop's own caches learn
# of them, unless they are only staged.
install:
	@tools/install-deps.sh run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@tools/quiet-build.sh "what is installed" $(BUILD) -j $(JOBS) --target $(INSTALLED)
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if [ -z "$(DESTDIR)" ] && command -v update-mime-database >/dev/null; then \
		update-mime-database $(PREFIX)/share/mime; fi
	@if [ -z "$(DESTDIR)" ] && command -v update-desktop-database >/dev/null; then \
		update-desktop-database $(PREFIX)/share/applications; fi

# The Debian package of what `make install` puts in place, in the build folder.
package:
	@tools/install-deps.sh run dpkg-dev
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@tools/quiet-build.sh "what the package holds" $(BUILD) -j $(JOBS) --target $(INSTALLED)
	@cd $(BUILD) && cpack -G DEB | grep -v '^CPack: -'

# Every C++ file in the house layout of .clang-format.
format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
