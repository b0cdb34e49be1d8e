# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the service worker (cmake -P): TEMPLATE with @FILES@ replaced by the site's files
# (FILES, separated by "|", relative to SITE) and @VERSION@ by a digest of their content.
string(REPLACE "|" ";" files "${FILES}")
list(SORT files)
set(digests "")
set(FILES "    './',\n")
foreach(file IN LISTS files)
    file(SHA256 "${SITE}/${file}" digest)
    string(APPEND digests "${file} ${digest}\n")
    string(APPEND FILES "    './${file}',\n")
endforeach()
string(SHA256 VERSION "${digests}")
string(SUBSTRING "${VERSION}" 0 16 VERSION)
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
