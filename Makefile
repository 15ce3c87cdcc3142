# make run   – install what is missing, build, start the program
# make test  – install what is missing, build, run every test
# make bench – build and run the benchmarks (by hand; they report speed only)

PACKAGES := qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev \
            libxkbcommon-dev fonts-ipafont-gothic libgtest-dev libbenchmark-dev cmake \
            ninja-build g++
BUILD := build

.PHONY: run test bench build deps clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	cd $(BUILD) && ./numbers3zubarin

test: build
	ctest --preset default

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
