# The front door: make run, make test, make dist, make screenshots, make bench.
# They install what is missing first.
BUILD := build

.PHONY: all deps build run screenshots test dist verify-release bench assets clean

all: build

deps:
	@bash tools/deps.sh

$(BUILD)/CMakeCache.txt: CMakeLists.txt CMakePresets.json $(wildcard cmake/*.cmake)
	@cmake --preset windows-i686 >/dev/null

build: deps $(BUILD)/CMakeCache.txt
	@cmake --build --preset windows-i686 -j 2 -- --no-print-directory

run: build
	@bash tools/run.sh

screenshots: build
	@bash tools/screenshots.sh

test: build
	@ctest --preset windows-i686

dist: deps $(BUILD)/CMakeCache.txt
	@bash tools/dist.sh

# make verify-release DIST=FOLDER (or the zip, with SHA256SUMS beside it):
# checks a published release, signed or not, against this commit's build.
verify-release: deps $(BUILD)/CMakeCache.txt
	@test -n "$(DIST)" || { echo "Usage: make verify-release DIST=FOLDER_OR_ZIP" >&2; exit 2; }
	@cmake --build --preset windows-i686 --target Tovix -j 2 -- --no-print-directory
	@/usr/bin/python3 tools/verify_release.py "$(DIST)" $(BUILD)/Tovix.exe

bench: build
	@bash tools/bench.sh

assets: deps
	@/usr/bin/python3 tools/make_assets.py

clean:
	rm -rf $(BUILD) dist
