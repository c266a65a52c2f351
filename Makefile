# Shortcuts for the scripts of the README, and for the benchmarks and fuzz targets.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
RELEASE = -DCMAKE_BUILD_TYPE=Release -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF

.PHONY: play test bench fuzz install package clean

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

# The game, its pictures, desktop entry and icons under $(PREFIX) (make install PREFIX=~/.local).
install:
	./tools/setup.sh
	cmake -S . -B build/play $(RELEASE) >/dev/null
	cmake --build build/play -j $(JOBS) --target reefmaw
	cmake --install build/play --prefix $(PREFIX)

# A Debian package of the same tree under /usr, in build/package/.
package:
	./tools/setup.sh --package
	cmake -S . -B build/package $(RELEASE) >/dev/null
	cmake --build build/package -j $(JOBS) --target package
	@ls -l build/package/*.deb

clean:
	rm -rf build
