# The CMake options of each build folder, shared by run.sh, test.sh and their test. Every
# configure states them all, because CMake keeps options in its cache: a game-only configure
# followed by a plain one would leave the test programs of an older configure in place.
GAME_BUILD_OPTIONS=(-DQUONFEL_TESTS=OFF -DQUONFEL_BENCH=OFF -DQUONFEL_SANITIZE=OFF)
TEST_BUILD_OPTIONS=(-DQUONFEL_TESTS=ON -DQUONFEL_BENCH=ON -DQUONFEL_SANITIZE=OFF)
SANITIZE_BUILD_OPTIONS=(-DQUONFEL_TESTS=ON -DQUONFEL_BENCH=OFF -DQUONFEL_SANITIZE=ON)
