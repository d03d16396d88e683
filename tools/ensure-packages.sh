# Installs the Debian packages the build, the tests and the editor need,
# when some are missing. Sourced by ./test, ./run and tools/fuzz.sh.
ORVANE_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev xvfb xauth strace xdotool xclip
  # The desktop's recent files list (GLib's bookmark file).
  libglib2.0-dev
  # The Debian package and its test: cpack's tools, the desktop files'
  # validators and databases, the manuals, the icon's PNG sizes.
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
  man-db groff-base librsvg2-bin bash-completion)
# The fuzz targets need clang: libFuzzer and the sanitizer runtimes come with
# clang's runtime package, and llvm-symbolizer makes the reports readable.
ORVANE_FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm-14)
# The Windows build: MinGW-w64 with POSIX threads, Wine (64-bit) to run it,
# zip for the archives, dpkg-dev to unpack Qt's sources (tools/windows-qt.sh),
# icotool for the program's icon, NSIS for the installer.
ORVANE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 zip unzip bsdextrautils dpkg-dev
  icoutils nsis)

# ensure_packages [fuzz|windows]: the build's packages, and clang's with
# "fuzz", MinGW-w64's and Wine's with "windows".
ensure_packages() {
  local wanted=("${ORVANE_PACKAGES[@]}")
  [ "${1:-}" = fuzz ] && wanted+=("${ORVANE_FUZZ_PACKAGES[@]}")
  [ "${1:-}" = windows ] && wanted+=("${ORVANE_WINDOWS_PACKAGES[@]}")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
