# The two commands of the README: `make play` and `make test`.
JOBS ?= $(shell nproc)
PLAY_DIR := build/play
TEST_DIR := build/test
TEST_FLAGS := -DREEFMAW_SANITIZE=ON -DREEFMAW_BENCH=OFF
ifeq ($(CI),true)
TEST_FLAGS += -DREEFMAW_WERROR=ON
endif

.PHONY: play test setup build-play build-test fuzz bench clean

play: build-play
	./$(PLAY_DIR)/reefmaw

build-play:
	./tools/setup.sh
	cmake -S . -B $(PLAY_DIR) -DCMAKE_BUILD_TYPE=Release -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF >/dev/null
	cmake --build $(PLAY_DIR) -j $(JOBS) --target reefmaw

test: build-test
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

build-test:
	./tools/setup.sh --test
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug $(TEST_FLAGS) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)

bench:
	./tools/setup.sh
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DREEFMAW_TESTS=OFF >/dev/null
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/bench_*; do echo "== $$b"; $$b; done

fuzz:
	./tools/setup.sh --test
	CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREEFMAW_FUZZ=ON -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF >/dev/null
	cmake --build build/fuzz -j $(JOBS)

clean:
	rm -rf build
