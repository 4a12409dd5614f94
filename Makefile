# Thin driver over CMake/Ninja. `make run` and `make test` install what is missing first.
BUILD ?= build
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc)
# Where `make install` puts Dayloom: your own ~/.local, or /usr/local when run as root (sudo).
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)

.PHONY: all deps build run demo test install uninstall package bench fuzz clean format

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/dayloom

# Dayloom on a generated sample calendar in fresh temporary folders (removed afterwards).
demo: build
	@tmp=$$(mktemp -d -t dayloom-demo.XXXXXX) && \
	mkdir -p "$$tmp/data" "$$tmp/config" && \
	./$(BUILD)/dayloom-sample "$$tmp/data/dayloom" demo && \
	XDG_DATA_HOME="$$tmp/data" XDG_CONFIG_HOME="$$tmp/config" ./$(BUILD)/dayloom; \
	status=$$?; rm -rf "$$tmp"; exit $$status

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --no-tests=error

# The programs, the menu entry and the icon under PREFIX; `make uninstall` removes what the
# last install put there.
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if command -v update-desktop-database >/dev/null; then \
	  update-desktop-database -q "$(PREFIX)/share/applications" || true; fi
	@touch "$(PREFIX)/share/icons/hicolor"

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	xargs -d '\n' rm -f < $(BUILD)/install_manifest.txt

# A .deb of the same layout (prefix /usr) in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

bench:
	@scripts/install-deps --bench
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDAYLOOM_BENCH=ON -DDAYLOOM_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	scripts/run-bench $(BENCH_BUILD)

# libFuzzer targets (clang), not part of `make test`. FUZZ_SECONDS per target, default 60.
fuzz:
	@scripts/install-deps --fuzz
	fuzz/run-fuzz

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) build-fuzz
