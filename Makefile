# The front door: make run, make test, make dist. They install what is missing first.
BUILD := build

.PHONY: all deps build run screenshots test dist bench assets clean

all: build

deps:
	@bash tools/deps.sh

$(BUILD)/CMakeCache.txt: CMakeLists.txt CMakePresets.json cmake/mingw-i686.cmake
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

bench: build
	@bash tools/bench.sh

assets: deps
	@/usr/bin/python3 tools/make_assets.py

clean:
	rm -rf $(BUILD) dist
