# The Windows download, snack-order-VERSION-win64.zip at the top of the
# build tree: the program, its licence and a short README.txt, both text
# files with Windows' CR LF line ends. Everything in it is dated as the
# newest changelog entry, not the build. The toolchain file builds for
# x86-64 only, hence win64.
set(download_dir ${PROJECT_BINARY_DIR}/download)
set(download ${PROJECT_BINARY_DIR}/snack-order-${PROJECT_VERSION}-win64.zip)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${download_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${download_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_command(OUTPUT ${download}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:snack-order> ${download_dir}
    COMMAND ${CMAKE_COMMAND} -E chdir ${download_dir}
        ${CMAKE_COMMAND} -E tar cf ${download} --format=zip --mtime=${SNACK_ORDER_RELEASE_DATE}
        -- $<TARGET_FILE_NAME:snack-order> LICENSE.txt README.txt
    DEPENDS snack-order ${download_dir}/LICENSE.txt ${download_dir}/README.txt
    COMMENT "Packing the Windows download ${download}"
    VERBATIM)
add_custom_target(download ALL DEPENDS ${download})
