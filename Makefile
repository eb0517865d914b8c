# Two entry points: `make run` builds and starts the program on the demo data,
# `make test` builds and runs every test.
PRESET ?= dev
BIN := build/bin

.PHONY: run test deps build format

deps:
	./scripts/install-deps.sh

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	cd $(BIN) && ./Тарвел

test: build
	ctest --preset $(PRESET) -j2

format:
	find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i
