# Front door for newcomers: every target installs what is missing first.
.PHONY: run test bench dist build clean

run:
	bash tools/run.sh

test:
	bash tools/test.sh

# Benchmarks against their floors, one table (README: Reading the benchmarks).
bench:
	bash tools/bench.sh

dist:
	bash tools/dist.sh

build:
	bash tools/setup.sh
	bash -c 'source tools/wine-env.sh && build_arch i686 && build_arch x86_64'

clean:
	rm -rf build dist
