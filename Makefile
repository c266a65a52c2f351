# Shortcuts for the scripts of the README, and for the benchmarks and fuzz targets.
JOBS ?= $(shell nproc)

.PHONY: play test bench fuzz clean

play:
	./play.sh

test:
	./test.sh

bench:
	./tools/setup.sh
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DREEFMAW_TESTS=OFF >/dev/null
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/bench_*; do echo "== $$b"; $$b; done

fuzz:
	./tools/setup.sh --fuzz
	CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREEFMAW_FUZZ=ON -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF >/dev/null
	cmake --build build/fuzz -j $(JOBS)

clean:
	rm -rf build
