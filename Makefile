# Tessaly: `make run` builds and starts the program, `make test` builds and
# runs every test. Both install the Debian packages the build needs first
# (as root through apt-get; otherwise the apt-get line to run is printed).

BUILD    ?= build
PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev \
            libjpeg62-turbo-dev libgif-dev libwmf-dev libuemf-dev libemf2svg-dev \
            fonts-urw-base35 libgtest-dev fonts-dejavu-core xvfb xauth

.PHONY: all deps configure build run test clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get install -y --no-install-recommends" $$missing; \
	    exit 1; \
	  fi; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/tessaly

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD)
