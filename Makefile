# make run   installs what is missing, builds, and runs the main job
# make test  installs what is missing, builds with Qt 6 and with Qt 5.15, and runs every test of both
BUILD ?= build
QT5_BUILD ?= build-qt5
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: all deps build build-qt5 run test test-qt5 test-qt6 test-asan bench fuzz clean package install

all: build

deps:
	@bash scripts/install-deps.sh

# The Qt 6 build is the program (make run, make package); the Qt 5.15 build is kept building and
# passing, and the Qt 6 build's tests compare the two builds' module bytes.
# A stamp per folder and toolkit, so that a folder configured before (for Qt 5 alone, say) is
# configured again once with these options.
$(BUILD)/.configured-qt6:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_QT=6 -DTAVO_OTHER_BUILD=$(CURDIR)/$(QT5_BUILD)
	touch $@

$(QT5_BUILD)/.configured-qt5:
	cmake -S . -B $(QT5_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_QT=5
	touch $@

build: deps $(BUILD)/.configured-qt6
	cmake --build $(BUILD) -j $(JOBS)

build-qt5: deps $(QT5_BUILD)/.configured-qt5
	cmake --build $(QT5_BUILD) -j $(JOBS)

run: build
	@bash scripts/run-main.sh $(BUILD)

test-qt5: build-qt5
	cd $(QT5_BUILD) && ctest --output-on-failure -j $(JOBS)

# The Qt 6 suite compares its programs' output with the Qt 5 build's, so both are built first.
test-qt6: build build-qt5
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test: test-qt5 test-qt6

# The sanitizers run on the Qt 6 build only: the code paths are the same, and a third full build
# would not fit CI's time.
$(ASAN_BUILD)/.configured-qt6:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVO_SANITIZE=ON -DTAVO_QT=6
	touch $@

test-asan: deps $(ASAN_BUILD)/.configured-qt6
	# Tools built in this tree run during the build (icons); Qt's own start-up allocations are not leaks of ours.
	ASAN_OPTIONS=detect_leaks=0 cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# make package          the Debian package in $(BUILD)
# make install PREFIX=DIR  installs into DIR (default: the configured prefix, /usr/local)
package: build
	cmake --build $(BUILD) --target package

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

bench: build
	@bash scripts/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(QT5_BUILD) $(ASAN_BUILD)
