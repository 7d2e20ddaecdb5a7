# The front door: make run, make test, make dist, make screenshots, make bench;
# make in-debian runs any of them in a clean Debian 12 or 13 system.
# They install what is missing first.
BUILD := build

.PHONY: all deps build run screenshots test coverage dist verify-release in-debian bench assets clean

all: build

deps:
	@bash tools/run/deps.sh

$(BUILD)/CMakeCache.txt: CMakeLists.txt CMakePresets.json $(wildcard cmake/*.cmake)
	@cmake --preset windows-i686 >/dev/null

build: deps $(BUILD)/CMakeCache.txt
	@cmake --build --preset windows-i686 -j 2 -- --no-print-directory

run: build
	@bash tools/run/run.sh

screenshots: build
	@bash tools/assets/screenshots.sh

test: build
	@bash -c 'source tools/wine/wine.sh && echo "The suites start the 32-bit programs in build/, in 32-bit Wine, $$(describe_i386)."'
	@ctest --preset windows-i686

# Line and branch coverage of registry/ and window/ by the suites, its report
# in build/coverage/ (tools/run/coverage.sh).
coverage: deps
	@bash tools/run/coverage.sh

dist: deps $(BUILD)/CMakeCache.txt
	@bash tools/release/dist.sh

# make verify-release DIST=FOLDER (or the zip, with SHA256SUMS beside it):
# checks a published release, signed or not, against this commit's build.
verify-release: deps $(BUILD)/CMakeCache.txt
	@bash tools/release/verify-release.sh "$(DIST)"

# make in-debian RELEASE=bookworm|trixie TARGET=test: any target, run in a
# clean Debian system of that release made in /var/tmp (tools/run/in-debian.sh).
in-debian:
	@bash tools/run/in-debian.sh "$(RELEASE)" "$(or $(TARGET),test)"

bench: build
	@bash tools/run/bench.sh

assets: deps
	@/usr/bin/python3 tools/assets/make-assets.py
	@/usr/bin/python3 tools/assets/make-references.py

clean:
	rm -rf $(BUILD) dist
