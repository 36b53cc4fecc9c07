# Package lists shared by run.sh and test.sh. The Debian package test needs desktop-file-utils,
# and file and dpkg-dev for the library dependencies that cpack works out. SDL's own message box
# (the one shown without zenity) draws with the X server's core fonts, xfonts-base.
GAME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  libx11-dev fontconfig fonts-ipafont-gothic zenity)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xfonts-base xauth xdotool x11-utils imagemagick clang
  libclang-rt-14-dev desktop-file-utils file dpkg-dev)
