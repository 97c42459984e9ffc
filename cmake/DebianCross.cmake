# A toolchain for building the package for another Debian architecture on this machine,
# with Debian's cross compilers and that architecture's own Qt (multiarch):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/DebianCross.cmake -DOWLET_DEBIAN_ARCH=arm64 ...
# moc and rcc are this machine's; the programs built at build time (the icon's export) run
# under qemu-user, which finds the architecture's libraries where multiarch puts them.
if(NOT OWLET_DEBIAN_ARCH)
    message(FATAL_ERROR "DebianCross.cmake: set OWLET_DEBIAN_ARCH (arm64 or armhf)")
endif()
# The try_compile projects CMake makes while configuring read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OWLET_DEBIAN_ARCH)

execute_process(COMMAND dpkg-architecture -a ${OWLET_DEBIAN_ARCH} -qDEB_HOST_MULTIARCH
                OUTPUT_VARIABLE triplet OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-architecture -a ${OWLET_DEBIAN_ARCH} -qDEB_HOST_GNU_CPU
                OUTPUT_VARIABLE cpu OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
                OUTPUT_VARIABLE build_triplet OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${cpu})
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
if(cpu STREQUAL "arm")
    # 32-bit ARM's note that GCC 7 changed how some arguments are passed matters only when
    # linking with code of older compilers; everything here is built by one.
    set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
endif()
set(PKG_CONFIG_EXECUTABLE ${triplet}-pkg-config CACHE FILEPATH "")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${cpu}) # qemu-aarch64, qemu-arm
set(Qt6_DIR /usr/lib/${triplet}/cmake/Qt6 CACHE PATH "")
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${build_triplet}/cmake)
# Programs found while building (gzip, moc's helpers) are this machine's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
