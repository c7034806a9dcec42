# What `cmake --install` puts beside the executable on Debian and other Unix
# systems, and the Debian package built from it (`cpack -G DEB` in a release
# build, or `cmake --workflow --preset package`). The manual page and the
# package take their version and date from the newest entry of the changelog
# (see cmake/changelog.cmake); nothing else states them.

set(SNACK_ORDER_MAINTAINER "snack-order maintainers <maintainers@users.noreply.c-seed-dac407e9.example>")

# Debian wants manual pages and changelogs compressed by gzip -9 -n, which
# leaves no file name or time stamp in them.
find_program(GZIP gzip REQUIRED)
set(manual_page ${PROJECT_BINARY_DIR}/snack-order.1)
set(changelog ${PROJECT_BINARY_DIR}/changelog)
configure_file(${CMAKE_CURRENT_LIST_DIR}/snack-order.1.in ${manual_page} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${changelog} COPYONLY)
add_custom_command(OUTPUT ${manual_page}.gz ${changelog}.gz
    COMMAND ${GZIP} -9nkf ${manual_page} ${changelog}
    DEPENDS ${manual_page} ${changelog}
    COMMENT "Compressing the manual page and the changelog"
    VERBATIM)
add_custom_target(documentation ALL DEPENDS ${manual_page}.gz ${changelog}.gz)

# A stripped program (the package's, or `cmake --install --strip`) also loses
# the sections Debian's dh_strip removes and CMake's strip leaves: .comment,
# the names of the compilers that built it, and .note.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:snack-order>\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")

install(FILES ${manual_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${SNACK_ORDER_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGE_DESCRIPTION [[
snack-order shows a menu of eight snacks and drinks, reads the numbers
typed at the keyboard, confirms each item with its price and keeps a
running total. On 0 it clears the screen, lists the ten places of the
order and prints the amount due. The texts are Brazilian Portuguese.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_SNACK_ORDER_RELEASE_EPOCH ${SNACK_ORDER_RELEASE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_time.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SNACK_ORDER_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(NOT CMAKE_CROSSCOMPILING)
    # Dependencies are worked out by dpkg-shlibdeps from what the binary links.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    # The package of another architecture (a toolchain file names it), whose
    # dependencies cpack_time.cmake works out: CPack's own call of
    # dpkg-shlibdeps would name the cross compiler's libraries' packages.
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${SNACK_ORDER_DEBIAN_ARCH})
    set(CPACK_SNACK_ORDER_CROSS_PROGRAM ${PROJECT_BINARY_DIR}/snack-order)
    set(CPACK_SNACK_ORDER_CROSS_LIBRARIES /usr/${cross_triplet}/lib)
    set(CPACK_SNACK_ORDER_READELF ${CMAKE_READELF})
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
