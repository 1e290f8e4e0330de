# Reads the releases of NEWS.md: a heading "## <version> (<yyyy>-<mm>-<dd>)" each, newest first,
# then paragraphs and "- " items, whose further lines are indented. Lines are kept as they are in
# the Debian changelog, which wants them within 80 columns: NEWS.md keeps them within 76.
#
# quillora_read_news(<NEWS.md> <version>) fails, naming the file, when <version> has no entry, and
# otherwise sets in the caller's scope:
#   QUILLORA_RELEASE_DATE      the date of <version>, yyyy-mm-dd
#   QUILLORA_METAINFO_RELEASES the AppStream <release> elements of every release, with their notes
#   QUILLORA_DEBIAN_CHANGELOG  the Debian changelog of every release, each signed
#                              "@MAINTAINER@  @DATE:<yyyy-mm-dd>@", which the package build
#                              replaces with whoever builds it and the date as Debian writes it

function(quillora_read_news news version)
    file(READ ${news} text)
    # Semicolons and brackets would split or join CMake's list items: they travel as stand-ins.
    string(REPLACE ";" "@semicolon@" text "${text}")
    string(REPLACE "[" "@open@" text "${text}")
    string(REPLACE "]" "@close@" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    # A blank line at the end closes the last block.
    list(APPEND lines "")

    set(releases "")
    set(changelog "")
    set(release "")
    set(block "")        # the lines of the paragraph or item being read
    set(block_kind "")   # p or li
    set(in_list FALSE)
    set(found_date "")
    # Closes the block being read: its notes go into the current release.
    macro(close_block)
        if(block_kind)
            list(JOIN block " " joined)
            string(REPLACE "&" "&amp;" joined "${joined}")
            string(REPLACE "<" "&lt;" joined "${joined}")
            string(REPLACE ">" "&gt;" joined "${joined}")
            if(block_kind STREQUAL "li" AND NOT in_list)
                string(APPEND releases "        <ul>\n")
                set(in_list TRUE)
            elseif(block_kind STREQUAL "p" AND in_list)
                string(APPEND releases "        </ul>\n")
                set(in_list FALSE)
            endif()
            if(block_kind STREQUAL "li")
                string(APPEND releases "          <li>${joined}</li>\n")
            else()
                string(APPEND releases "        <p>${joined}</p>\n")
            endif()
            list(JOIN block "\n    " wrapped)
            string(APPEND changelog "  * ${wrapped}\n")
        endif()
        set(block "")
        set(block_kind "")
    endmacro()
    macro(close_release)
        close_block()
        if(release)
            if(in_list)
                string(APPEND releases "        </ul>\n")
                set(in_list FALSE)
            endif()
            string(APPEND releases "      </description>\n    </release>\n")
            string(APPEND changelog "\n -- @MAINTAINER@  @DATE:${release_date}@\n")
        endif()
    endmacro()

    foreach(line IN LISTS lines)
        if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
            close_release()
            set(release ${CMAKE_MATCH_1})
            set(release_date ${CMAKE_MATCH_2})
            if(release STREQUAL version)
                set(found_date ${release_date})
            endif()
            if(changelog)
                string(APPEND changelog "\n")
            endif()
            string(APPEND changelog "quillora (${release}) unstable; urgency=medium\n\n")
            string(APPEND releases
                "    <release version=\"${release}\" date=\"${release_date}\">\n"
                "      <description>\n")
        elseif(line MATCHES "^#")
            close_release()
            set(release "")
        elseif(NOT release)
            # The introduction, before the first release.
        elseif(line STREQUAL "")
            close_block()
        elseif(line MATCHES "^- (.*)$")
            close_block()
            set(block_kind li)
            set(block "${CMAKE_MATCH_1}")
        else()
            string(STRIP "${line}" line)
            if(NOT block_kind)
                set(block_kind p)
            endif()
            list(APPEND block "${line}")
        endif()
    endforeach()
    close_release()

    if(NOT found_date)
        message(FATAL_ERROR "${news} has no entry for version ${version}: add a heading "
                            "\"## ${version} (<yyyy>-<mm>-<dd>)\" with what the release changes")
    endif()
    foreach(variable releases changelog)
        string(REPLACE "@semicolon@" ";" ${variable} "${${variable}}")
        string(REPLACE "@open@" "[" ${variable} "${${variable}}")
        string(REPLACE "@close@" "]" ${variable} "${${variable}}")
    endforeach()
    set(QUILLORA_RELEASE_DATE ${found_date} PARENT_SCOPE)
    set(QUILLORA_METAINFO_RELEASES "${releases}" PARENT_SCOPE)
    set(QUILLORA_DEBIAN_CHANGELOG "${changelog}" PARENT_SCOPE)
endfunction()

# As a script, for a check of a NEWS file of one's own:
# cmake -DNEWS=<file> -DVERSION=<version> -DOUTPUT=<folder> -P news.cmake
# writes <folder>/changelog and <folder>/releases.xml, and prints the version's date.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    quillora_read_news("${NEWS}" "${VERSION}")
    file(WRITE "${OUTPUT}/changelog" "${QUILLORA_DEBIAN_CHANGELOG}")
    file(WRITE "${OUTPUT}/releases.xml" "${QUILLORA_METAINFO_RELEASES}")
    message("${QUILLORA_RELEASE_DATE}")
endif()
