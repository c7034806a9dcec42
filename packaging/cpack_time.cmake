# Read by cpack as it makes the package (CPACK_PROJECT_CONFIG_FILE). Every
# time stamp in the package is the time of the newest changelog entry,
# Debian's SOURCE_DATE_EPOCH, unless the caller sets one, so that the same
# sources give the same bytes whenever and wherever they are built.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_SNACK_ORDER_RELEASE_EPOCH})
endif()
