# What `cmake --install` puts beside the program on Debian and other Unix
# systems: the desktop menu entry; the counter's systemd unit; the manual
# page, whose version and date come from the newest entry of
# debian/changelog (see cmake/changelog.cmake), and its Brazilian
# Portuguese translation (see translations.cmake), which man shows under a
# pt_BR locale; and with SNACK_ORDER_INSTALL_DOCS the
# copyright and the changelog, all but the copyright and the menu entry
# compressed with gzip -9 -n (no file name or time stamp inside), where
# Debian keeps them. The Debian package (debian/rules) turns that option off:
# debhelper installs and compresses those files itself.
option(SNACK_ORDER_INSTALL_DOCS "Install the copyright and the changelog, and gzip them and the manual pages" ON)

# The desktop's applications menu lists it, started in a terminal window.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/snack-order.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The counter's systemd unit names the program where the install puts it,
# so it is made at install time, for the prefix given then. It goes to
# SNACK_ORDER_SYSTEMD_UNIT_DIR under the prefix: lib/systemd/system, where
# systemd looks under /usr and /usr/local. The Debian package leaves it empty
# and has dh_installsystemd install the unit (debian/rules).
set(SNACK_ORDER_SYSTEMD_UNIT_DIR lib/systemd/system CACHE STRING
    "Where cmake --install puts the counter's systemd unit, relative to the prefix; empty for nowhere")
set(counter_unit ${PROJECT_BINARY_DIR}/snack-order@.service)
install(CODE "set(SNACK_ORDER_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/snack-order\")
    configure_file(\"${CMAKE_CURRENT_LIST_DIR}/snack-order@.service.in\" \"${counter_unit}\" @ONLY)")
if(SNACK_ORDER_SYSTEMD_UNIT_DIR)
    install(FILES ${counter_unit} DESTINATION ${SNACK_ORDER_SYSTEMD_UNIT_DIR})
endif()

set(manual_page ${PROJECT_BINARY_DIR}/snack-order.1)
configure_file(${CMAKE_CURRENT_LIST_DIR}/snack-order.1.in ${manual_page} @ONLY)
include(${CMAKE_CURRENT_LIST_DIR}/translations.cmake)
set(translated_page ${PROJECT_BINARY_DIR}/pt_BR/snack-order.1)
translated_file(snack-order.1 ${translated_page})
if(NOT SNACK_ORDER_INSTALL_DOCS)
    add_custom_target(translated_manual_page ALL DEPENDS ${translated_page})
    install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${translated_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/pt_BR/man1)
    return()
endif()

find_program(GZIP gzip REQUIRED)
set(changelog ${PROJECT_BINARY_DIR}/changelog)
configure_file(${PROJECT_SOURCE_DIR}/debian/changelog ${changelog} COPYONLY)
add_custom_command(OUTPUT ${manual_page}.gz ${translated_page}.gz ${changelog}.gz
    COMMAND ${GZIP} -9nkf ${manual_page} ${translated_page} ${changelog}
    DEPENDS ${manual_page} ${translated_page} ${changelog}
    COMMENT "Compressing the manual pages and the changelog"
    VERBATIM)
add_custom_target(documentation ALL DEPENDS ${manual_page}.gz ${translated_page}.gz ${changelog}.gz)
install(FILES ${manual_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${translated_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/pt_BR/man1)
install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
