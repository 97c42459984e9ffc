# make run   installs what is missing, builds, opens the panel
# make test  installs what is missing, builds, runs every test
# make fuzz  fuzzes every input surface for FUZZ_SECONDS per target (clang, ASan, UBSan);
#            make test runs it for TEST_FUZZ_SECONDS per target
# make sanitize  builds everything with ASan and UBSan and runs every test
# make deb   builds build/owlet_<version>_<arch>.deb and checks it with lintian
# make bench measures start-up and reply cost against a minimal Qt window
# make format-check  fails when a C++ file is not as clang-format writes it (make test runs it)
# make format        formats every C++ file in place
# make web     builds the web page into build-web/site (WebAssembly, Debian's emscripten)
# make web-run builds the page and serves it on 127.0.0.1 (WEB_PORT, default 8080)
# make cross   cross-builds the package's programs for the Raspberry Pi (arm64, armhf) into
#              build-<arch>, with Debian's cross compilers and those architectures' own Qt
# make dist    builds and tests, then leaves every release artifact and SHA256SUMS in build/dist

BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS ?= 5
JOBS ?= $(shell nproc)
# The Raspberry Pi's architectures: Raspberry Pi OS for 64-bit boards, and for older ones;
# on one of them, its own build is the native one. CROSS_ARCHS= builds none.
CROSS_ARCHS ?= $(filter-out $(shell dpkg --print-architecture 2>/dev/null),arm64 armhf)
CROSS_BUILD_PREFIX ?= build-
# WERROR=ON turns every compiler warning into an error, as CI builds.
WERROR ?= OFF

# A real screen reader for the window's tests: Orca on its own session bus and window
# manager, speaking into speech-dispatcher's dummy output, keys by xdotool.
SCREEN_READER_PACKAGES := orca speech-dispatcher at-spi2-core dbus openbox xdotool
PACKAGES := g++ cmake make pkg-config qt6-base-dev qt6-serialport-dev libgl-dev \
            qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core desktop-file-utils appstream \
            xvfb xauth x11-utils file libx11-dev libxtst-dev dpkg-dev lintian clang-format ser2net \
            $(SCREEN_READER_PACKAGES)
FUZZ_PACKAGES := clang libclang-rt-dev
# The page's compiler, and the browser its tests drive; node and npm come from Debian where
# the machine has none of its own.
WEB_PACKAGES := emscripten chromium
# Debian's emscripten runs on the machine's node, which must find Debian's own modules.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

# The cross compilers, each architecture's Qt (multiarch), and qemu-user to run what they
# build: the icon's export while building, the programs in the tests.
CROSS_PACKAGES := $(if $(CROSS_ARCHS),qemu-user) $(foreach a,$(CROSS_ARCHS),crossbuild-essential-$(a) \
	qt6-base-dev:$(a) qt6-serialport-dev:$(a) libgl-dev:$(a))

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Installs the Debian packages given in $(1) that are not installed yet; leaves apt alone
# when everything is there. A name without an architecture is this machine's package (or
# one for all): with the cross builds' architectures added, a library can be installed for
# arm64 and not for this machine.
define install_missing
	@missing=""; native=$$(dpkg --print-architecture); for p in $(1); do \
		case $$p in *:*) want='[^ ]+' ;; *) want="($$native|all)" ;; esac; \
		dpkg-query -W -f='$${Architecture} $${db:Status-Status}\n' $$p 2>/dev/null | \
			grep -Eqx "$$want installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi
endef

.PHONY: all deps build run test sanitize deb dist fuzz bench format format-check clean web \
	web-run web-deps node-deps cross cross-deps

all: build

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOWLET_WERROR=$(WERROR) \
		-DOWLET_WEB_BUILD=$(abspath $(WEB_BUILD)) -DOWLET_CROSS_ARCHS="$(CROSS_ARCHS)" \
		-DOWLET_CROSS_BUILD_PREFIX=$(abspath $(CROSS_BUILD_PREFIX))
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "owlet: no display here (DISPLAY is not set). Run it under a virtual one: xvfb-run -a $(BUILD)/app/owlet"; \
		exit 1; \
	fi
	$(BUILD)/app/owlet

test: build web node-deps cross format-check
	$(MAKE) fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each architecture is added to dpkg once; apt then fetches its packages beside this
# machine's own (Debian's archive, nothing else).
cross-deps: deps
	@for a in $(CROSS_ARCHS); do \
		dpkg --print-foreign-architectures | grep -qx $$a || \
			{ echo "Adding the architecture $$a"; $(SUDO) dpkg --add-architecture $$a; }; \
	done
	$(call install_missing,$(CROSS_PACKAGES))

# The package's programs only (no tests, no benchmarks): the tests run them under qemu-user.
# Optimized as the native build, without its debug information, which the package strips.
cross: cross-deps
	@for a in $(CROSS_ARCHS); do \
		cmake -S . -B $(CROSS_BUILD_PREFIX)$$a -DCMAKE_TOOLCHAIN_FILE=cmake/DebianCross.cmake \
			-DOWLET_DEBIAN_ARCH=$$a -DCMAKE_BUILD_TYPE=Release \
			"-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
			-DOWLET_WERROR=$(WERROR) >/dev/null && \
		cmake --build $(CROSS_BUILD_PREFIX)$$a -j $(JOBS) || exit 1; \
	done

web-deps:
	$(call install_missing,$(WEB_PACKAGES) cmake make)
	@command -v node >/dev/null && command -v npm >/dev/null || { \
		$(SUDO) apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q nodejs npm; }

web: web-deps
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DOWLET_WERROR=$(WERROR) >/dev/null
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

web-run: web
	node web/build/serve.mjs $(WEB_BUILD)/site $(WEB_PORT)

# The tests' npm packages, exactly as package-lock.json pins them.
node-deps: web-deps
	@[ node_modules/.package-lock.json -nt package-lock.json ] || npm ci --no-audit --no-fund

# Qt and fontconfig keep caches until exit on purpose, so leak reports are off; every
# other finding of either sanitizer fails the run.
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOWLET_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:suppressions=$(CURDIR)/tests/asan.supp \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

deb: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/owlet_*.deb

dist: test
	tools/dist.sh $(BUILD) $(WEB_BUILD) $(BUILD)/dist $(addprefix $(CROSS_BUILD_PREFIX),$(CROSS_ARCHS))
	@echo "build/dist:"; cat $(BUILD)/dist/SHA256SUMS

fuzz:
	$(call install_missing,$(FUZZ_PACKAGES) cmake make)
	cmake -S . -B $(FUZZ_BUILD) -DOWLET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for t in $$(cat $(FUZZ_BUILD)/fuzz-targets.txt); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
		echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
		$(FUZZ_BUILD)/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=tests/fuzz/corpus/$$t/finding- \
			$(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

bench: build web node-deps
	cmake --build $(BUILD) -j $(JOBS) --target owlet owlet-cli owlet-module-sim owlet-bench-flood \
		owlet-bench-minimal owlet-bench-replies owlet-bench-mapwait owlet-bench-exact \
		owlet-bench-loop owlet-bench-loop-window
	OWLET_WEB_BUILD=$(WEB_BUILD) xvfb-run -a -s "-screen 0 1024x768x24" tools/bench/run-bench.sh $(BUILD)

# The C++ files git knows of (new ones included, deleted ones not), or every one under the
# tree outside a git checkout.
CXX_FILES = $(wildcard $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' \
	2>/dev/null || find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print))

format-check: deps
	@clang-format --dry-run --Werror $(CXX_FILES) || \
		{ echo "Not formatted as .clang-format says: run make format"; exit 1; }

format: deps
	clang-format -i $(CXX_FILES)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(WEB_BUILD) \
		$(addprefix $(CROSS_BUILD_PREFIX),$(CROSS_ARCHS))
