# Fills in the @VARIABLES@ of INPUT into OUTPUT as configure_file(@ONLY)
# would, but at build time, for a file the build made; with WINDOWS, with
# CR LF line ends and a UTF-8 byte order mark as well (see windows.cmake).
# usage: cmake -D INPUT=FILE -D OUTPUT=FILE [-D WINDOWS=ON] [-D VARIABLE=VALUE...] -P fill_in.cmake
file(READ ${INPUT} text)
string(CONFIGURE "${text}" text @ONLY)
if(WINDOWS)
    string(REPLACE "\n" "\r\n" text "${text}")
    string(ASCII 239 187 191 byte_order_mark)
    string(PREPEND text "${byte_order_mark}")
endif()
file(WRITE ${OUTPUT} "${text}")
