# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages of the programs, made at build time by help2man (Debian package help2man)
# from the programs' own --help and --version and the sections in resources/man/, and
# compressed as Debian wants them. Without help2man the build goes on without them.

find_program(HELP2MAN help2man)
find_program(GZIP gzip)
set(LUMIDRA_MAN_PAGES OFF)
if(NOT HELP2MAN OR NOT GZIP OR CMAKE_CROSSCOMPILING)
    message(STATUS "help2man or gzip not found (or a cross build): no manual pages")
    return()
endif()
set(LUMIDRA_MAN_PAGES ON)

set(man_dir ${CMAKE_BINARY_DIR}/man)
set(man_pages)
foreach(program lumidra lumidra-calc)
    if(NOT TARGET ${program})
        continue()
    endif()
    set(page ${man_dir}/${program}.1)
    set(sections ${PROJECT_SOURCE_DIR}/resources/man/${program}.h2m)
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        # No display is needed: both programs answer --help and --version before any window.
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                ${HELP2MAN} --no-info --section=1 --include=${sections} --output=${page}
                $<TARGET_FILE:${program}>
        COMMAND ${GZIP} -9nf ${page}
        DEPENDS ${program} ${sections}
        COMMENT "Writing the manual page of ${program}"
        VERBATIM)
    list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
