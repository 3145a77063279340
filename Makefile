# The README's commands. Each installs what is missing (as root, with apt-get), then builds.
PACKAGES := cmake ninja-build g++ pkg-config git \
	libpugixml-dev zlib1g-dev libfreetype-dev libfontconfig-dev libpng-dev libbrotli-dev libexpat1-dev \
	fontconfig fonts-dejavu-core \
	googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev \
	clang libclang-rt-14-dev \
	libgtkmm-4.0-dev librsvg2-dev xvfb xauth xdotool time \
	inkscape python3 libxml2-utils
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build test demo fuzz bench bench-editor clean install uninstall install-extension uninstall-extension

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

bench-editor: build
	/usr/bin/python3 bench/editor_round_trip.py

clean:
	rm -rf build

# The command, the module and its resources live together (the command loads the module from
# beside itself, following the link in bin/).
PREFIX ?= /usr/local
LIBDIR = $(DESTDIR)$(PREFIX)/lib/estampilleur

install: build
	install -d $(LIBDIR) $(DESTDIR)$(PREFIX)/bin
	install -m 755 build/release/bin/estampilleur build/release/bin/Estampilleur.so \
	  build/release/bin/estampilleur-window.so $(LIBDIR)/
	install -m 644 build/release/bin/Estampilleur.rsrc $(LIBDIR)/
	ln -sfn ../lib/estampilleur/estampilleur $(DESTDIR)$(PREFIX)/bin/estampilleur

uninstall:
	rm -f $(DESTDIR)$(PREFIX)/bin/estampilleur
	rm -rf $(LIBDIR)

# The editor extension, for the current user, calling the installed command.
INKSCAPE_PROFILE_DIR ?= $(shell inkscape --user-data-directory 2>/dev/null || \
	echo "$${XDG_CONFIG_HOME:-$$HOME/.config}/inkscape")
EXTENSION_DIR = $(INKSCAPE_PROFILE_DIR)/extensions/estampilleur
ESTAMPILLEUR ?= $(PREFIX)/bin/estampilleur

install-extension:
	@[ -x "$(ESTAMPILLEUR)" ] || echo "note: $(ESTAMPILLEUR) is not installed yet (make install)"
	install -d "$(EXTENSION_DIR)"
	install -m 644 inkscape/estampilleur.inx "$(EXTENSION_DIR)/"
	sed 's|^COMMAND = .*|COMMAND = "$(ESTAMPILLEUR)"|' inkscape/estampilleur.py > "$(EXTENSION_DIR)/estampilleur.py"

uninstall-extension:
	rm -rf "$(EXTENSION_DIR)"
