BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=
# Generated programs of the sanitized run are compiled with these; curses
# keeps its allocations until exit, so leak reports are off there.
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: all build run test bench install clean

all: build

build:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j2

run: build
	@if [ -x $(BUILD)/gridbot ]; then cd programs/gridbot && ../../$(BUILD)/gridbot; \
	else echo "kzo2c is built in $(BUILD)/; gridbot is not part of this build yet."; fi

# The whole suite runs twice: as built, and with the translator, the runtime,
# gridbot and every generated test program under the address and
# undefined-behaviour sanitizers. Each run must run as many tests as
# tests/expected_tests says, none skipped.
test: build
	cd $(BUILD) && ctest --output-on-failure -j2 --output-junit tests.xml
	python3 tests/checkcount.py $(BUILD) plain
	cmake -S . -B $(ASAN_BUILD) -DKZO_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j2
	cd $(ASAN_BUILD) && KZO_CFLAGS="$(SANITIZE)" ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j2 \
	  --output-junit tests.xml
	python3 tests/checkcount.py $(ASAN_BUILD) sanitized

# kzo2c, gridbot, the man page and the CMake package under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
