# Cross-builds for Debian's armhf (ARMv7 with hardware floating point: a
# 32-bit system on a Raspberry Pi 2 or later) with g++-arm-linux-gnueabihf.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(cross_triplet arm-linux-gnueabihf)
set(qemu_name arm)
set(SNACK_ORDER_DEBIAN_ARCH armhf)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
