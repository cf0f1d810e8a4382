# Sourced by the run and test scripts: installs the Debian packages the build
# needs, and only those that are missing, so a second run costs nothing.

VELMO_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config ca-certificates openssl
  libicu-dev libcurl4-openssl-dev libssl-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-webengine-dev fonts-wqy-microhei xvfb xauth
)

velmo_ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}
