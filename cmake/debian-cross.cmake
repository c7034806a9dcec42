# What the Linux cross toolchain files share: Debian's cross compiler for
# cross_triplet, whose C library and headers live in /usr/<triplet>, and
# qemu-user to run what it builds on this machine (CMake's emulator setting,
# which the tests take up). The toolchain file sets CMAKE_SYSTEM_PROCESSOR,
# cross_triplet, qemu_name (qemu-<qemu_name> is the emulator) and
# SNACK_ORDER_DEBIAN_ARCH, the package's Architecture.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${cross_triplet}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${cross_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -L: the target's dynamic loader and C library are those of the cross
# compiler's sysroot, not this machine's.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu_name} -L /usr/${cross_triplet})
