# The README's commands. Each installs what is missing (as root, with apt-get), then builds.
PACKAGES := cmake ninja-build g++ pkg-config git \
	libpugixml-dev zlib1g-dev libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core \
	googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev \
	clang libclang-rt-14-dev \
	libgtkmm-4.0-dev librsvg2-dev xvfb xauth xdotool time
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build test demo fuzz bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" != 0 ]; then echo "missing packages:$$missing (run as root to install them)"; exit 1; fi; \
	  echo "installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

test: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset asan -j $(JOBS)
	JOBS=$(JOBS) sh fuzz/run.sh 30

fuzz: deps
	JOBS=$(JOBS) sh fuzz/run.sh $(or $(FUZZ_SECONDS),30)

demo: build
	@sh examples/demo.sh build/release/bin

bench: build
	build/release/bin/estampilleur_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@if [ -n "$$DISPLAY" ]; then build/release/bin/window_bench; \
	else GDK_BACKEND=x11 GSK_RENDERER=cairo xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bin/window_bench; fi

clean:
	rm -rf build
