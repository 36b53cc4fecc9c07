# Package lists shared by run.sh and test.sh. The build draws the icon's sizes with
# librsvg2-bin and reads the window icon's pixels with libpng-dev. The Debian package test
# needs desktop-file-utils, lintian, appstream and shared-mime-info, and file and dpkg-dev for
# the library dependencies that cpack works out, and devscripts for hardening-check; SDL's own
# message box needs the X server's core fonts (xfonts-base).
GAME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  libx11-dev fontconfig fonts-ipafont-gothic fonts-dejavu-core zenity librsvg2-bin libpng-dev)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick clang
  libclang-rt-14-dev desktop-file-utils file dpkg-dev lintian appstream xfonts-base shared-mime-info
  devscripts)
