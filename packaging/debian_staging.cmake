# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged tree of the Debian
# package, after the install rules and before packing: what Debian wants of a
# package but an ordinary install does not, so that `make install` stays plain.
# - the copyright file in the package's documentation folder;
# - manual pages compressed with gzip, without a name or time stamp in the
#   header, so that the package is the same from one build to the next.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(path MATCHES "/share/man/man[0-9]/[^/]+\\.[0-9]$")
    execute_process(COMMAND gzip -9nf "${path}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip failed on ${path}")
    endif()
  elseif(path MATCHES "^(.*/share/doc/plandrex)/NOTICE\\.md$")
    file(COPY "${CPACK_PLANDREX_COPYRIGHT_FILE}" DESTINATION "${CMAKE_MATCH_1}")
  endif()
endforeach()
