cmake_minimum_required(VERSION 3.25)
# Fails when a source file outside the allow-list sets the last-error text: inside a folder,
# errors travel as values, and only the operations the program names set the text.
# Run as: cmake -DSRC=<src folder> -DALLOW=<list file> -P check_error_text.cmake
file(STRINGS ${ALLOW} allowed REGEX "^[^#]")
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.cpp ${SRC}/*.h)
set(failures "")
foreach(f ${files})
  file(STRINGS ${SRC}/${f} calls REGEX "SetErrorText\\(")
  if(calls AND NOT f IN_LIST allowed)
    list(APPEND failures "src/${f} sets the last-error text but is not in ${ALLOW}")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
