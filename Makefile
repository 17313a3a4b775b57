# Entry points. `make test` and `make run` set up what is missing first.
.PHONY: setup build test run screenshot fuzz bench clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake --preset native >/dev/null && cmake --build --preset native
	cmake --preset win32 >/dev/null && cmake --build --preset win32

test: setup
	@bash scripts/test.sh

run: setup
	@bash scripts/run.sh

screenshot: setup
	@bash scripts/screenshot.sh

fuzz: setup
	@bash scripts/fuzz.sh

bench: setup
	@bash scripts/bench.sh

clean:
	rm -rf build
