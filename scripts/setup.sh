# Shared set-up of run.sh and test.sh: installs the Debian packages the build needs (when run as
# root) and configures and builds a build tree. Sourced, not run.

QUORVANE_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  mdbtools mdbtools-dev
  libssl-dev libexpat1-dev
  fonts-liberation2
  xvfb xauth
)

# Installs whatever of QUORVANE_PACKAGES is missing; without root, names them and fails.
quorvane_ensure_packages() {
  local missing=()
  for package in "${QUORVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# quorvane_build DIR [CMAKE OPTIONS...]: configures DIR once, then builds it.
quorvane_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  cmake --build "$dir"
}
