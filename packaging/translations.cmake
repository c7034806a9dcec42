# The Brazilian Portuguese manual page and Windows instructions: po4a
# translates the English sources (their @VARIABLES@ still in) with
# po/pt_BR.po, as po/po4a.cfg says, into po4a/pt_BR/ in the build tree;
# translated_file() then fills in each as configure_file fills in the
# English. The build never writes to the .po: the translation.pt_BR test
# fails when it has fallen behind the English, and says how to catch up.
find_program(PO4A po4a REQUIRED)
set(po4a_dir ${PROJECT_BINARY_DIR}/po4a)
file(MAKE_DIRECTORY ${po4a_dir})
set(po4a_sources ${CMAKE_CURRENT_LIST_DIR}/po/po4a.cfg ${CMAKE_CURRENT_LIST_DIR}/po/pt_BR.po
    ${CMAKE_CURRENT_LIST_DIR}/po/pt_BR.add ${CMAKE_CURRENT_LIST_DIR}/snack-order.1.in
    ${CMAKE_CURRENT_LIST_DIR}/README.txt.in)
# --keep 0: a translation behind the English still gives a whole page, its
# new parts in English, rather than none; --force: po4a would otherwise
# judge by time stamps what the build has already judged.
add_custom_command(OUTPUT ${po4a_dir}/pt_BR/snack-order.1.in ${po4a_dir}/pt_BR/LEIA-ME.txt.in
    COMMAND ${PO4A} --no-update --force --keep 0 --srcdir ${CMAKE_CURRENT_LIST_DIR} --destdir ${po4a_dir}
        ${CMAKE_CURRENT_LIST_DIR}/po/po4a.cfg
    WORKING_DIRECTORY ${po4a_dir}
    DEPENDS ${po4a_sources}
    COMMENT "Translating the manual page and the Windows instructions with po4a"
    VERBATIM)

# translated_file(NAME OUTPUT [WINDOWS]): OUTPUT is po4a's NAME.in filled in;
# with WINDOWS, with CR LF line ends and a byte order mark too.
function(translated_file name output)
    cmake_parse_arguments(PARSE_ARGV 2 arg "WINDOWS" "" "")
    set(fill_in ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/fill_in.cmake)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -D INPUT=${po4a_dir}/pt_BR/${name}.in -D OUTPUT=${output} -D WINDOWS=${arg_WINDOWS}
            -D PROJECT_VERSION=${PROJECT_VERSION} -D SNACK_ORDER_RELEASE_DAY=${SNACK_ORDER_RELEASE_DAY} -P ${fill_in}
        DEPENDS ${po4a_dir}/pt_BR/${name}.in ${fill_in}
        VERBATIM)
endfunction()
