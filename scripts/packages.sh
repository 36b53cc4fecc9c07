# Package lists shared by run.sh and test.sh. The Debian package test needs desktop-file-utils,
# and file and dpkg-dev for the library dependencies that cpack works out.
GAME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  libx11-dev fontconfig fonts-ipafont-gothic fonts-dejavu-core zenity)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick clang
  libclang-rt-14-dev desktop-file-utils file dpkg-dev)
