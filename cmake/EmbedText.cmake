# Writes a C++ source that holds the text of IN as the string VAR (in namespace tools).
# Usage: cmake -DIN=file -DOUT=file.cpp -DVAR=name -P EmbedText.cmake
file(READ "${IN}" content)
set(delim "LUMIDRA_EMBED")
string(FIND "${content}" ")${delim}\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${IN} holds the raw string delimiter")
endif()
file(WRITE "${OUT}.tmp"
    "// Generated from ${IN}; do not edit.\n#include <string_view>\nnamespace tools {\nextern const std::string_view ${VAR};\nconst std::string_view ${VAR} = R\"${delim}(${content})${delim}\";\n}\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
