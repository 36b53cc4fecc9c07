# Package lists shared by run.sh and test.sh.
GAME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev
  fontconfig fonts-ipafont-gothic zenity)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick clang
  libclang-rt-14-dev)
