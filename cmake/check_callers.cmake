cmake_minimum_required(VERSION 3.25)
# Fails when a source file outside the allow-list calls the function CALL. The last-error text
# is set only by the operations the program names (inside a folder, errors travel as values),
# and the current folder is changed only at start-up.
# Run as: cmake -DSRC=<src folder> -DCALL=<function> -DALLOW=<list file> -P check_callers.cmake
file(STRINGS ${ALLOW} allowed REGEX "^[^#]")
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.cpp ${SRC}/*.h)
set(failures "")
foreach(f ${files})
  file(STRINGS ${SRC}/${f} calls REGEX "${CALL}\\(")
  if(calls AND NOT f IN_LIST allowed)
    list(APPEND failures "src/${f} calls ${CALL} but is not in ${ALLOW}")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
