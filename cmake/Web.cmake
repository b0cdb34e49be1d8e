# SPDX-License-Identifier: GPL-3.0-or-later
# The WebAssembly build (the web preset, Emscripten): the core, its tests and lumidra-calc run
# under node, and the web page is built over the same core.

if(NOT EMSCRIPTEN)
    return()
endif()

# The core reports some faults by exceptions (a zone count out of range, a damaged settings
# file), and its tests check them: exceptions are caught in every program of this build.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

# A program run under node as a native program runs: on the real file system, with the
# process's environment, ending with the exit status its main returns.
function(lumidra_node_program target)
    target_link_options(${target} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sENVIRONMENT=node
        --pre-js ${PROJECT_SOURCE_DIR}/cmake/NodeEnvironment.js)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
        ${PROJECT_SOURCE_DIR}/cmake/NodeEnvironment.js)
endfunction()
