# The Debian packages the project needs, sourced by run.sh and test.sh.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev fonts-wqy-microhei dpkg-dev file binutils)
TEST_PACKAGES=(libgtest-dev libgmock-dev libx11-dev xvfb xauth xdotool util-linux mount desktop-file-utils)
# Fuzzing and the sanitizer build: clang, its sanitizer and libFuzzer
# runtimes, and the symbolizer for readable reports.
CHECK_PACKAGES=(clang libclang-rt-14-dev llvm-14)
