# Entry points. `make test` and `make run` set up what is missing first.
# WINDOWS=32 or WINDOWS=64 picks the Windows build that test, run, explore and
# screenshot use; by default the 32-bit one where this machine runs 32-bit
# programs, else the 64-bit one.
WINDOWS ?=
export WINDOWS
.PHONY: setup build test run screenshot fuzz bench explore release clean

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

# make explore SECONDS=600 SEED=7: a long random run of mouse and keys
explore: setup
	@bash scripts/explore.sh "$(SECONDS)" "$(SEED)"

# make release PRODUCTION=https://... STAGING=https://... DOWNLOAD=host FILES=dir KEY=private.pem
#              [CA=file.pem] [NEXT=next-public.pem] [DAYS=90]
#              [SIGN_CERT=codesign.pem SIGN_KEY=codesign.key [TIMESTAMP=http://tsa.host]]
release: setup
	@bash scripts/release.sh "$(PRODUCTION)" "$(STAGING)" "$(DOWNLOAD)" "$(FILES)" "$(KEY)" "$(CA)" \
	  "$(NEXT)" "$(DAYS)" "$(SIGN_CERT)" "$(SIGN_KEY)" "$(TIMESTAMP)"

clean:
	rm -rf build
