# Cross-builds for Debian's arm64 (64-bit ARM: a Raspberry Pi 3 or later on
# a 64-bit system, and other 64-bit ARM boards) with g++-aarch64-linux-gnu.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(cross_triplet aarch64-linux-gnu)
set(qemu_name aarch64)
set(SNACK_ORDER_DEBIAN_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
