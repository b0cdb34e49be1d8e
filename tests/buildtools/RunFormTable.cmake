# SPDX-License-Identifier: GPL-3.0-or-later
# Runs formtable on FORM into WORKDIR (cmake -P) and checks the outcome. Variables:
#   FORMTABLE  the program
#   FORM       the .ui file; NAME the table's name
#   EXPECTED   the expected table without its first line (which names FORM's path); unset:
#              the form is to be refused with status 1, a message naming LAYOUT and no table
#   WORKDIR    a scratch folder, emptied first
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
set(table "${WORKDIR}/table.h")
execute_process(COMMAND "${FORMTABLE}" "${FORM}" "${table}" "${NAME}"
    RESULT_VARIABLE status ERROR_VARIABLE err)

if(NOT DEFINED EXPECTED)
    if(NOT status EQUAL 1 OR NOT err MATCHES "layout" OR EXISTS "${table}"
       OR EXISTS "${table}.part")
        message(FATAL_ERROR "not refused as expected: status ${status}, ${err}")
    endif()
    return()
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "status ${status}: ${err}")
endif()
file(READ "${table}" made)
string(FIND "${made}" "\n" first_end)
math(EXPR rest "${first_end} + 1")
string(SUBSTRING "${made}" ${rest} -1 made)
file(READ "${EXPECTED}" expected)
if(NOT made STREQUAL expected)
    message(FATAL_ERROR "the table differs from ${EXPECTED}:\n${made}")
endif()
