BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all build run test bench clean

all: build

build:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j2

run: build
	@if [ -x $(BUILD)/gridbot ]; then cd programs/gridbot && ../../$(BUILD)/gridbot; \
	else echo "kzo2c is built in $(BUILD)/; gridbot is not part of this build yet."; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
