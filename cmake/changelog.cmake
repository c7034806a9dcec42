# The version and the release date are written once, in the newest entry of
# packaging/changelog (the first one), and read from there before project():
#   SNACK_ORDER_VERSION        its version, for project()
#   SNACK_ORDER_RELEASE_DATE   its date as written, "Tue, 08 Dec 2026 03:20:00 +0000"
#   SNACK_ORDER_RELEASE_EPOCH  that moment in seconds since 1970, Debian's
#                              SOURCE_DATE_EPOCH for the package's time stamps
#   SNACK_ORDER_RELEASE_DAY    its day in UTC, 2026-12-08, for the manual page
cmake_path(SET changelog_file NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog_file})
file(READ ${changelog_file} changelog_text)

# project() takes only numbers separated by dots.
if(NOT changelog_text MATCHES "^snack-order \\(([0-9]+(\\.[0-9]+)*)\\) ")
    message(FATAL_ERROR "${changelog_file}: the first line must read 'snack-order (VERSION) ...', VERSION made of numbers and dots")
endif()
set(SNACK_ORDER_VERSION ${CMAKE_MATCH_1})

set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
# The entry's trailer: " -- NAME <EMAIL>  Tue, 08 Dec 2026 03:20:00 +0000".
if(NOT changelog_text MATCHES "\n -- [^\n]*>  ([^\n]*)\n")
    message(FATAL_ERROR "${changelog_file}: the newest entry has no trailer line ' -- NAME <EMAIL>  DATE'")
endif()
set(SNACK_ORDER_RELEASE_DATE ${CMAKE_MATCH_1})
if(NOT SNACK_ORDER_RELEASE_DATE MATCHES
        "^[A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ([0-9][0-9]):([0-9][0-9]):([0-9][0-9]) ([-+])([0-9][0-9])([0-9][0-9])$")
    message(FATAL_ERROR "${changelog_file}: '${SNACK_ORDER_RELEASE_DATE}' is not a date like 'Tue, 08 Dec 2026 03:20:00 +0000'")
endif()
list(FIND months ${CMAKE_MATCH_2} month)
if(month LESS 0)
    message(FATAL_ERROR "${changelog_file}: no month ${CMAKE_MATCH_2} in '${SNACK_ORDER_RELEASE_DATE}'")
endif()
# Days since 1970-01-01, counting in years that start on 1 March, so that a
# leap day ends its year: 719468 is that count for 0000-03-01.
if(month LESS 2)
    math(EXPR year "${CMAKE_MATCH_3} - 1")
    math(EXPR month_from_march "${month} + 10")
else()
    set(year ${CMAKE_MATCH_3})
    math(EXPR month_from_march "${month} - 2")
endif()
math(EXPR days "365 * ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400
    + (153 * ${month_from_march} + 2) / 5 + ${CMAKE_MATCH_1} - 1 - 719468")
if(CMAKE_MATCH_7 STREQUAL "+")
    set(to_utc -)
else()
    set(to_utc +)
endif()
math(EXPR SNACK_ORDER_RELEASE_EPOCH "${days} * 86400 + ${CMAKE_MATCH_4} * 3600 + ${CMAKE_MATCH_5} * 60
    + ${CMAKE_MATCH_6} ${to_utc} (${CMAKE_MATCH_8} * 3600 + ${CMAKE_MATCH_9} * 60)")

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH instead of the time now when it
# is set. Whatever the caller had set is put back, and where it had none the
# variable goes again: every compiler that configure starts inherits it, and
# clang 19 refuses to compile anything under an empty one.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(caller_epoch "$ENV{SOURCE_DATE_EPOCH}")
endif()
set(ENV{SOURCE_DATE_EPOCH} ${SNACK_ORDER_RELEASE_EPOCH})
string(TIMESTAMP SNACK_ORDER_RELEASE_DAY "%Y-%m-%d" UTC)
if(DEFINED caller_epoch)
    set(ENV{SOURCE_DATE_EPOCH} "${caller_epoch}")
else()
    unset(ENV{SOURCE_DATE_EPOCH})
endif()
