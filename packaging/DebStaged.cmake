# Run by cpack once the package's files are staged (and stripped): takes the compiler's .comment
# section out of the programs, as Debian's own packages do, and adds the packages of the libraries
# the program and its module link to, as dpkg-shlibdeps finds them, to the Depends named by hand.
# CPack's own lookup (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also make the package run ldconfig,
# because the module lies under usr/lib; but lib/quillon is the program's own folder, which the
# dynamic linker never searches.
find_program(shlibdeps dpkg-shlibdeps)
if(NOT shlibdeps)
    message(FATAL_ERROR "dpkg-shlibdeps is missing; run tools/install-deps.sh --package")
endif()

file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(elf_files)
foreach(file IN LISTS staged)
    if(NOT IS_SYMLINK "${file}")
        file(READ "${file}" magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
            list(APPEND elf_files "${file}")
        endif()
    endif()
endforeach()

find_program(objcopy objcopy)
if(NOT objcopy)
    message(FATAL_ERROR "objcopy is missing; it comes with binutils (tools/install-deps.sh)")
endif()
foreach(file IN LISTS elf_files)
    execute_process(COMMAND ${objcopy} --remove-section=.comment "${file}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "objcopy could not remove .comment from ${file}")
    endif()
endforeach()

# dpkg-shlibdeps wants a source package's debian/control, even an empty one; kept outside the
# staged tree so that it does not end up in the package.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(REMOVE_RECURSE "${work}")
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${shlibdeps} -O ${elf_files}
    WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE found
    ERROR_VARIABLE errors
    RESULT_VARIABLE status
    OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${work}")
if(NOT status EQUAL 0 OR NOT found MATCHES "^shlibs:Depends=(.+)$")
    message(FATAL_ERROR "dpkg-shlibdeps failed on ${elf_files}:\n${errors}${found}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${CMAKE_MATCH_1}")
