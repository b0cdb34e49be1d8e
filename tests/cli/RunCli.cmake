# SPDX-License-Identifier: GPL-3.0-or-later
# Runs lumidra-calc once in an empty folder and checks what it did (cmake -P). Variables:
#   CLI            the program
#   ARGS_COUNT     the number of its arguments, ARGS_0, ARGS_1, ... the arguments
#   EXIT           the expected exit status
#   STDOUT         a file holding the expected standard output, byte for byte
#   STDOUT_MATCH   instead of STDOUT: a regular expression the standard output must match
#   STDERR         a regular expression the standard error must match
#   WORKDIR        the folder to run in; emptied first
#   OUTPUT         a file the run must write (relative to WORKDIR), compared with EXPECTED
#   EXPECTED       the expected bytes of OUTPUT
#   REPLACE_COUNT  the number of pairs REPLACE_0, ... FROM=TO of texts replaced in EXPECTED
#                  before the comparison
#   MASK_PDF_DATE  set: the creation and change dates of both PDF files are masked

cmake_minimum_required(VERSION 3.25)

foreach(list ARGS REPLACE)
    set(${list} "")
    if(${list}_COUNT GREATER 0)
        math(EXPR last "${${list}_COUNT} - 1")
        foreach(i RANGE ${last})
            list(APPEND ${list} "${${list}_${i}}")
        endforeach()
    endif()
endforeach()

file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
execute_process(COMMAND "${CLI}" ${ARGS}
    WORKING_DIRECTORY "${WORKDIR}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)

set(problems "")
if(NOT status STREQUAL EXIT)
    string(APPEND problems "exit status ${status}, expected ${EXIT}\n")
endif()
if(DEFINED STDOUT)
    file(READ "${STDOUT}" expected_out)
    if(NOT out STREQUAL expected_out)
        string(APPEND problems "standard output differs; expected:\n${expected_out}got:\n${out}")
    endif()
elseif(DEFINED STDOUT_MATCH)
    if(NOT out MATCHES "${STDOUT_MATCH}")
        string(APPEND problems "standard output does not match '${STDOUT_MATCH}':\n${out}")
    endif()
elseif(NOT out STREQUAL "")
    string(APPEND problems "unexpected standard output:\n${out}")
endif()
if(DEFINED STDERR)
    if(NOT err MATCHES "${STDERR}")
        string(APPEND problems "standard error does not match '${STDERR}':\n${err}")
    endif()
    # One line: the message and nothing more.
    string(REGEX MATCHALL "\n" line_ends "${err}")
    list(LENGTH line_ends lines)
    if(NOT lines EQUAL 1)
        string(APPEND problems "standard error holds ${lines} lines, expected 1:\n${err}")
    endif()
elseif(NOT err STREQUAL "")
    string(APPEND problems "unexpected standard error:\n${err}")
endif()

# Files are compared as hexadecimal text: spreadsheets hold NUL bytes, which CMake strings
# cannot. A replacement only counts where it starts on a byte, not in the middle of one.
function(replace_bytes hex from to result)
    string(HEX "${from}" from_hex)
    string(HEX "${to}" to_hex)
    string(LENGTH "${from_hex}" from_length)
    set(done "")
    while(TRUE)
        string(FIND "${hex}" "${from_hex}" at)
        if(at EQUAL -1)
            break()
        endif()
        math(EXPR odd "${at} % 2")
        math(EXPR after "${at} + ${from_length}")
        string(SUBSTRING "${hex}" 0 ${at} before)
        string(SUBSTRING "${hex}" ${after} -1 rest)
        if(odd)
            math(EXPR keep "${at} + 1")
            string(SUBSTRING "${hex}" 0 ${keep} before)
            string(SUBSTRING "${hex}" ${keep} -1 rest)
            string(APPEND done "${before}")
        else()
            string(APPEND done "${before}${to_hex}")
        endif()
        set(hex "${rest}")
    endwhile()
    set(${result} "${done}${hex}" PARENT_SCOPE)
endfunction()

function(mask_pdf_dates hex result)
    # "D:" and 14 digits, as the document information writes them, become "D:" and zeros.
    string(HEX "D:" prefix)
    string(REPEAT "3[0-9]" 14 digits)
    string(REPEAT "30" 14 zeros)
    string(REGEX REPLACE "${prefix}${digits}" "${prefix}${zeros}" hex "${hex}")
    set(${result} "${hex}" PARENT_SCOPE)
endfunction()

if(DEFINED OUTPUT)
    if(NOT EXISTS "${WORKDIR}/${OUTPUT}")
        string(APPEND problems "no file ${OUTPUT} was written\n")
    else()
        file(READ "${WORKDIR}/${OUTPUT}" actual HEX)
        file(READ "${EXPECTED}" expected HEX)
        foreach(pair IN LISTS REPLACE)
            string(REGEX MATCH "^([^=]*)=(.*)$" ok "${pair}")
            replace_bytes("${expected}" "${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}" expected)
        endforeach()
        if(MASK_PDF_DATE)
            mask_pdf_dates("${actual}" actual)
            mask_pdf_dates("${expected}" expected)
        endif()
        if(NOT actual STREQUAL expected)
            string(LENGTH "${actual}" la)
            string(LENGTH "${expected}" le)
            set(i 0)
            while(i LESS la AND i LESS le)
                string(SUBSTRING "${actual}" ${i} 2 a)
                string(SUBSTRING "${expected}" ${i} 2 e)
                if(NOT a STREQUAL e)
                    break()
                endif()
                math(EXPR i "${i} + 2")
            endwhile()
            math(EXPR byte "${i} / 2")
            string(APPEND problems "${OUTPUT} differs from ${EXPECTED} from byte ${byte}\n")
        endif()
    endif()
endif()

if(problems)
    string(REPLACE ";" " " shown_args "${ARGS}")
    message(FATAL_ERROR "lumidra-calc ${shown_args}\n${problems}")
endif()
