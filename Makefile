# The README's commands. Everything the project needs comes from Debian's packages (make deps).

PACKAGES := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev \
            libocct-data-exchange-dev zlib1g-dev clang libclang-rt-14-dev
# Parallel jobs of the builds and of ctest: every core unless given (make test JOBS=4).
JOBS ?= $(shell nproc)
HOST := build/default/tools/natlinkhost/natlinkhost

.PHONY: deps build build-asan test test-asan fuzz-smoke demo format clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -eq 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

test: build
	ctest --preset default -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

# The libFuzzer targets (clang, sanitizers; build/fuzz) for about a minute in all, after the
# replay of every regression input; a finding fails it (fuzz/README.md).
fuzz-smoke: deps
	JOBS=$(JOBS) bash fuzz/smoke.sh

demo: build
	@bash tools/demo.sh $(HOST)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
