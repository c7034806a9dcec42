# The Windows download, snack-order-VERSION-win64.zip at the top of the
# build tree: the program, its licence, a short README.txt and its Brazilian
# Portuguese translation LEIA-ME.txt (see translations.cmake), the text
# files with Windows' CR LF line ends. Everything in it is dated as the
# newest changelog entry, not the build. The toolchain file builds for
# x86-64 only, hence win64.
set(download_dir ${PROJECT_BINARY_DIR}/download)
set(download ${PROJECT_BINARY_DIR}/snack-order-${PROJECT_VERSION}-win64.zip)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${download_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${download_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
# LEIA-ME.txt is UTF-8 with a byte order mark: with the mark, Notepad on
# Windows 7 to 11 reads it as UTF-8 whatever the system's ANSI code page.
# Windows-1252 would show its accents right only where that code page is
# 1252: not on a system set up for another region, nor on one with the
# "UTF-8 for worldwide language support" option, whose code page is UTF-8.
include(${CMAKE_CURRENT_LIST_DIR}/translations.cmake)
translated_file(LEIA-ME.txt ${download_dir}/LEIA-ME.txt WINDOWS)
add_custom_command(OUTPUT ${download}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:snack-order> ${download_dir}
    COMMAND ${CMAKE_COMMAND} -E chdir ${download_dir}
        ${CMAKE_COMMAND} -E tar cf ${download} --format=zip --mtime=${SNACK_ORDER_RELEASE_DATE}
        -- $<TARGET_FILE_NAME:snack-order> LICENSE.txt README.txt LEIA-ME.txt
    DEPENDS snack-order ${download_dir}/LICENSE.txt ${download_dir}/README.txt ${download_dir}/LEIA-ME.txt
    COMMENT "Packing the Windows download ${download}"
    VERBATIM)
add_custom_target(download ALL DEPENDS ${download})
