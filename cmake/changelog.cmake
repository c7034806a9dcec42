# The version and the release date are written once, in the newest entry of
# debian/changelog (the first one), and read from there before project():
#   SNACK_ORDER_VERSION        its version, for project()
#   SNACK_ORDER_RELEASE_DATE   its date as written, "Tue, 08 Dec 2026 03:20:00 +0000"
#   SNACK_ORDER_RELEASE_DAY    that day as written, 2026-12-08, for the manual page
cmake_path(SET changelog_file NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog_file})
file(READ ${changelog_file} changelog_text)

# project() takes only numbers separated by dots.
if(NOT changelog_text MATCHES "^snack-order \\(([0-9]+(\\.[0-9]+)*)\\) ")
    message(FATAL_ERROR "${changelog_file}: the first line must read 'snack-order (VERSION) ...', VERSION made of numbers and dots")
endif()
set(SNACK_ORDER_VERSION ${CMAKE_MATCH_1})

# The entry's trailer: " -- NAME <EMAIL>  Tue, 08 Dec 2026 03:20:00 +0000".
if(NOT changelog_text MATCHES "\n -- [^\n]*>  ([^\n]*)\n")
    message(FATAL_ERROR "${changelog_file}: the newest entry has no trailer line ' -- NAME <EMAIL>  DATE'")
endif()
set(SNACK_ORDER_RELEASE_DATE ${CMAKE_MATCH_1})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
if(NOT SNACK_ORDER_RELEASE_DATE MATCHES "^[A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "${changelog_file}: '${SNACK_ORDER_RELEASE_DATE}' is not a date like 'Tue, 08 Dec 2026 03:20:00 +0000'")
endif()
set(year ${CMAKE_MATCH_3})
math(EXPR day "${CMAKE_MATCH_1}")
list(FIND months ${CMAKE_MATCH_2} month)
if(month LESS 0)
    message(FATAL_ERROR "${changelog_file}: no month ${CMAKE_MATCH_2} in '${SNACK_ORDER_RELEASE_DATE}'")
endif()
math(EXPR month "${month} + 1")
string(REGEX REPLACE "^(.)$" "0\\1" month ${month})
string(REGEX REPLACE "^(.)$" "0\\1" day ${day})
set(SNACK_ORDER_RELEASE_DAY ${year}-${month}-${day})
