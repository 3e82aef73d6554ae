# Fails when two headers of the source tree share a file name. Include
# directories put several folders on one search path, so a shared name would
# make an include line find whichever folder comes first.
#   cmake -DSOURCE_DIR=<tree> -P UniqueHeaderNames.cmake
# Build trees inside the source tree ("build*") and hidden folders are skipped.
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "UniqueHeaderNames.cmake: set SOURCE_DIR")
endif()
file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h)
set(clashes "")
set(count 0)
foreach(header ${headers})
  if(header MATCHES "^(build|\\.)")
    continue()
  endif()
  math(EXPR count "${count} + 1")
  get_filename_component(name ${header} NAME)
  string(MAKE_C_IDENTIFIER "${name}" key)
  if(DEFINED seen_${key})
    string(APPEND clashes "\n  ${seen_${key}} and ${header}")
  else()
    set(seen_${key} ${header})
  endif()
endforeach()
if(clashes)
  message(FATAL_ERROR "Headers sharing a file name:${clashes}")
endif()
message(STATUS "${count} headers, every name once")
