# The Windows download, snack-order-VERSION-win64.zip at the top of the
# build tree: the program, the till that runs it for one customer after
# another (caixa.cmd), its licence, a short README.txt and its Brazilian
# Portuguese translation LEIA-ME.txt (see translations.cmake), the text
# files with Windows' CR LF line ends, which cmd needs to find a batch
# file's labels. Everything in it is dated as the
# newest changelog entry, not the build: the archive writer stores each
# file's access and change times too, and its DOS times in the local time
# zone, so Debian's strip-nondeterminism then sets every time in the zip to
# that entry's. The toolchain file builds for x86-64 only, hence win64.
set(download_dir ${PROJECT_BINARY_DIR}/download)
set(download ${PROJECT_BINARY_DIR}/snack-order-${PROJECT_VERSION}-win64.zip)
# The text files beside the program, in the download and the installer alike.
set(windows_texts caixa.cmd LICENSE.txt README.txt LEIA-ME.txt)
configure_file(${CMAKE_CURRENT_LIST_DIR}/caixa.cmd ${download_dir}/caixa.cmd @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${download_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${download_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
# LEIA-ME.txt is UTF-8 with a byte order mark: with the mark, Notepad on
# Windows 7 to 11 reads it as UTF-8 whatever the system's ANSI code page.
# Windows-1252 would show its accents right only where that code page is
# 1252: not on a system set up for another region, nor on one with the
# "UTF-8 for worldwide language support" option, whose code page is UTF-8.
include(${CMAKE_CURRENT_LIST_DIR}/translations.cmake)
translated_file(LEIA-ME.txt ${download_dir}/LEIA-ME.txt WINDOWS)
list(TRANSFORM windows_texts PREPEND ${download_dir}/ OUTPUT_VARIABLE windows_text_files)
find_program(STRIP_NONDETERMINISM strip-nondeterminism REQUIRED)
# The changelog's date as seconds since 1970, for strip-nondeterminism, and
# as a UTC time written out in full, for faketime below.
execute_process(COMMAND date -u -d ${SNACK_ORDER_RELEASE_DATE} "+%s;%Y-%m-%d %H:%M:%S"
    OUTPUT_VARIABLE release_times OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
list(GET release_times 0 release_epoch)
list(GET release_times 1 release_time)
add_custom_command(OUTPUT ${download}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:snack-order> ${download_dir}
    COMMAND ${CMAKE_COMMAND} -E chdir ${download_dir}
        ${CMAKE_COMMAND} -E tar cf ${download} --format=zip --mtime=${SNACK_ORDER_RELEASE_DATE}
        -- $<TARGET_FILE_NAME:snack-order> ${windows_texts}
    COMMAND ${STRIP_NONDETERMINISM} --type zip --timestamp ${release_epoch} ${download}
    DEPENDS snack-order ${windows_text_files}
    COMMENT "Packing the Windows download ${download}"
    VERBATIM)
add_custom_target(download ALL DEPENDS ${download})
# The linker would write the time of the link into the program's header,
# where Windows does not read it; without it, two builds of a commit give
# the same program, and so the same installer.
target_link_options(snack-order PRIVATE LINKER:--no-insert-timestamp)

# The Windows installer, snack-order-VERSION-win64.msi beside the zip, built
# by wixl from snack-order.wxs.in out of the zip's own files, unpacked with
# their dates. It installs them for every user of the PC into
# Program Files\snack-order, with two shortcuts in the Start menu (the
# program, and the till), and Settings can remove them.
#
# The same commit gives the same bytes. The files come dated from the zip.
# wixl writes the time of the build into the package's summary, so it runs
# with the clock held still at the changelog's date (faketime, which holds
# it still only at a time written out in full, read in the local time zone:
# hence UTC both ways). wixl also draws the package code at random, so
# msibuild sets it afterwards. Both that code and the product code are
# derived from the version: one version, one product and one package.
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
find_program(FAKETIME faketime REQUIRED)
set(upgrade_code 3F7A2C1E-8B4D-4E6A-9C05-D2E1B7A4F863)
string(UUID product_code NAMESPACE ${upgrade_code} NAME "product ${PROJECT_VERSION}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${upgrade_code} NAME "package ${PROJECT_VERSION}" TYPE SHA1 UPPER)
# The maker, as Settings shows it, is the upstream contact of debian/copyright.
set(copyright_file ${PROJECT_SOURCE_DIR}/debian/copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${copyright_file})
file(STRINGS ${copyright_file} manufacturer REGEX "^Upstream-Contact: " LIMIT_COUNT 1)
if(NOT manufacturer MATCHES "^Upstream-Contact: ([^<]*[^< ]) *<")
    message(FATAL_ERROR "${copyright_file}: no line 'Upstream-Contact: NAME <EMAIL>'")
endif()
set(manufacturer ${CMAKE_MATCH_1})
set(installer_texts)
foreach(text IN LISTS windows_texts)
    string(MAKE_C_IDENTIFIER ${text} id)
    string(APPEND installer_texts "\n            <File Id=\"${id}\" Source=\"installer/${text}\"/>")
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/snack-order.wxs.in ${PROJECT_BINARY_DIR}/snack-order.wxs @ONLY)

set(installer ${PROJECT_BINARY_DIR}/snack-order-${PROJECT_VERSION}-win64.msi)
set(installer_dir ${PROJECT_BINARY_DIR}/installer)
add_custom_command(OUTPUT ${installer}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${installer_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${installer_dir}
    COMMAND ${CMAKE_COMMAND} -E chdir ${installer_dir} ${CMAKE_COMMAND} -E tar xf ${download}
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${FAKETIME} -f ${release_time}
        ${WIXL} --arch x64 -D Version=${PROJECT_VERSION} -D ProductCode=${product_code}
        -o ${installer} ${PROJECT_BINARY_DIR}/snack-order.wxs
    COMMAND ${MSIBUILD} ${installer} -s snack-order ${manufacturer} x64$<SEMICOLON>1046 {${package_code}}
    DEPENDS ${download} ${PROJECT_BINARY_DIR}/snack-order.wxs
    COMMENT "Building the Windows installer ${installer}"
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${installer})
