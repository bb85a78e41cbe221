# Build helpers, sourced by tools/test, tools/demo and tools/bench.
# Trees: build/native (host, sanitizers), build/win32 (the shipped i686 programs, copied to
# build/dist), and build/win64 (x86-64 build of the same sources, for Wine without 32-bit support).

PM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
PM_BUILD=${PM_BUILD:-$PM_ROOT/build}
PM_JOBS=${PM_JOBS:-$(nproc)}
# ccache keys paths below the source tree relative to it, so a fresh clone elsewhere hits too.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PM_ROOT}

# Compiles go through ccache where it is installed (tools/bootstrap installs it): a tree built
# again from a clean clone then recompiles only what changed. PM_CCACHE=0 turns it off.
pm_configure() { # tree-name extra-cmake-args...
  local tree=$1; shift
  local launcher=()
  if [ "${PM_CCACHE:-1}" != 0 ] && command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$PM_ROOT" -B "$PM_BUILD/$tree" -G Ninja "${launcher[@]}" "$@" >"$PM_BUILD/$tree.configure.log" 2>&1 || {
    cat "$PM_BUILD/$tree.configure.log" >&2; return 1; }
}

pm_build() { # tree-name
  cmake --build "$PM_BUILD/$1" -j "$PM_JOBS"
}

pm_build_native() {
  mkdir -p "$PM_BUILD"
  pm_configure native -DCMAKE_BUILD_TYPE=Debug && pm_build native
}

pm_build_windows() { # arch (win32|win64) with-tests (ON|OFF)
  local arch=$1 tests=$2 toolchain
  case $arch in
    win32) toolchain=$PM_ROOT/cmake/mingw-i686.cmake ;;
    win64) toolchain=$PM_ROOT/cmake/mingw-x86_64.cmake ;;
  esac
  mkdir -p "$PM_BUILD"
  local dist=()
  [ "$arch" = win32 ] && dist=(-DPM_DIST_DIR="$PM_BUILD/dist")
  pm_configure "$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DPM_BUILD_TESTS="$tests" "${dist[@]}" && pm_build "$arch"
}
