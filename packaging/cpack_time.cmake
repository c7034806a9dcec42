# Read by cpack as it makes the package (CPACK_PROJECT_CONFIG_FILE).
#
# Every time stamp in the package is the time of the newest changelog entry,
# Debian's SOURCE_DATE_EPOCH, unless the caller sets one, so that the same
# sources give the same bytes whenever and wherever they are built.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_SNACK_ORDER_RELEASE_EPOCH})
endif()

# A cross-built program's dependencies. dpkg-shlibdeps, run on it with the
# cross compiler's libraries, names their packages as Debian's cross
# toolchain renamed them (libc6:ARCH, libgcc-s1-ARCH-cross); on ARCH itself
# they are libc6 and libgcc-s1. The cross C library has no symbols file,
# only a shlibs file asking for the version the build machine has (2.41 on
# Debian 13), so its version is what libc6's symbols file gives natively:
# the newest GLIBC_ version among the symbols the program uses.
if(CPACK_SNACK_ORDER_CROSS_PROGRAM)
    set(arch ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
    set(scratch ${CPACK_PACKAGE_DIRECTORY}/shlibdeps)
    file(MAKE_DIRECTORY ${scratch}/debian)
    file(TOUCH ${scratch}/debian/control)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_HOST_ARCH=${arch}
            dpkg-shlibdeps -O -l${CPACK_SNACK_ORDER_CROSS_LIBRARIES} ${CPACK_SNACK_ORDER_CROSS_PROGRAM}
        WORKING_DIRECTORY ${scratch} RESULT_VARIABLE status OUTPUT_VARIABLE depends ERROR_VARIABLE errors
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REMOVE_RECURSE ${scratch})
    if(NOT status EQUAL 0 OR NOT depends MATCHES "^shlibs:Depends=")
        message(FATAL_ERROR "dpkg-shlibdeps on ${CPACK_SNACK_ORDER_CROSS_PROGRAM} failed:\n${errors}")
    endif()
    string(REGEX REPLACE "^shlibs:Depends=" "" depends "${depends}")
    string(REGEX REPLACE "(-${arch}-cross|:${arch})( |,|$)" "\\2" depends "${depends}")

    execute_process(COMMAND ${CPACK_SNACK_ORDER_READELF} --version-info ${CPACK_SNACK_ORDER_CROSS_PROGRAM}
        OUTPUT_VARIABLE versions COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "GLIBC_[0-9.]+" versions "${versions}")
    list(SORT versions COMPARE NATURAL)
    list(GET versions -1 newest)
    string(SUBSTRING ${newest} 6 -1 newest)
    string(REGEX REPLACE "(^|, )libc6 \\(>= [^)]*\\)" "\\1libc6 (>= ${newest})" CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
endif()
