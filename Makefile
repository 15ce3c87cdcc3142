# make run   – install what is missing, build, start the program
# make test  – install what is missing, build, run every test
# make bench – build and run the benchmarks (by hand; they report speed only)
# make test-sanitizers – build with AddressSanitizer and UBSan (build-debug/), run every test
# make fuzz  – build the libFuzzer harnesses with clang (build-fuzz/), run each FUZZ_SECONDS
# make package – build the Debian package build/numbers3zubarin_<version>_amd64.deb
# make format-check – every source file as .clang-format has it (make format rewrites them so)

# libqt6opengl6-dev: Qt Charts' CMake files need its own, which qt6-charts-dev does not pull in.
PACKAGES := qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libsqlite3-dev qt6-qpa-plugins libgl-dev \
            libxkbcommon-dev fonts-ipafont-gothic qt6-translations-l10n libgtest-dev libbenchmark-dev cmake \
            ninja-build g++ dpkg-dev file desktop-file-utils appstream poppler-utils
FUZZ_PACKAGES := clang libclang-rt-14-dev
FORMAT_PACKAGES := clang-format
SOURCES = $(shell find src tools tests bench fuzz -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
FUZZ_SECONDS ?= 60
BUILD := build

.PHONY: run test bench build deps fuzz-deps test-sanitizers fuzz package clean format format-check

# Installs those of the packages given that are missing.
install_missing = missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

deps:
	@$(call install_missing,$(PACKAGES))

fuzz-deps: deps
	@$(call install_missing,$(FUZZ_PACKAGES))

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	cd $(BUILD) && ./numbers3zubarin

test: build
	ctest --preset default

test-sanitizers: deps
	cmake --preset debug
	cmake --build --preset debug
	ctest --preset debug

fuzz: fuzz-deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	sh fuzz/run build-fuzz $(FUZZ_SECONDS)

format-check:
	@$(call install_missing,$(FORMAT_PACKAGES))
	@clang-format --dry-run -Werror $(SOURCES) && echo "format-check: every source file is as .clang-format has it"

format:
	@$(call install_missing,$(FORMAT_PACKAGES))
	clang-format -i $(SOURCES)

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) build-debug build-fuzz
