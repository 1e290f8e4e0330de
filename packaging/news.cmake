# Reads the releases of NEWS.md: a heading "## <version> (<yyyy>-<mm>-<dd>)" each, newest first,
# then paragraphs and "- " items, whose further lines are indented. Lines are kept as they are in
# the Debian changelog, which wants them within 80 columns: NEWS.md keeps them within 76.
#
# quillora_read_news(<NEWS.md> <version>) fails, naming the file, when <version> has no entry, and
# otherwise sets in the caller's scope:
#   QUILLORA_RELEASE_DATE      the date of <version>, yyyy-mm-dd
#   QUILLORA_RELEASE_EPOCH     midnight UTC of that date, in seconds since 1970 (SOURCE_DATE_EPOCH)
#   QUILLORA_METAINFO_RELEASES the AppStream <release> elements of every release, with their notes
#   QUILLORA_DEBIAN_CHANGELOG  the Debian changelog of every release, each signed "@MAINTAINER@",
#                              which the package build replaces with whoever builds it

# Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
function(quillora_days_since_1970 result year month day)
    math(EXPR month "${month}")
    math(EXPR day "${day}")
    if(month LESS_EQUAL 2)
        math(EXPR year "${year} - 1")
        math(EXPR month "${month} + 9")
    else()
        math(EXPR month "${month} - 3")
    endif()
    math(EXPR era "${year} / 400")
    math(EXPR year_of_era "${year} - ${era} * 400")
    math(EXPR day_of_year "(153 * ${month} + 2) / 5 + ${day} - 1")
    math(EXPR day_of_era
         "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
    math(EXPR days "${era} * 146097 + ${day_of_era} - 719468")
    set(${result} ${days} PARENT_SCOPE)
endfunction()

# The date as a Debian changelog gives it (RFC 5322), at midnight UTC.
function(quillora_changelog_date result date)
    string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${date}")
    set(year ${CMAKE_MATCH_1})
    set(month ${CMAKE_MATCH_2})
    set(day ${CMAKE_MATCH_3})
    quillora_days_since_1970(days ${year} ${month} ${day})
    # 1970-01-01 was a Thursday.
    math(EXPR weekday "(${days} + 4) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    list(GET weekdays ${weekday} weekday)
    math(EXPR month_index "${month} - 1")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET months ${month_index} month_name)
    set(${result} "${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

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
            string(APPEND changelog "\n -- @MAINTAINER@  ${release_changelog_date}\n")
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
            quillora_changelog_date(release_changelog_date ${release_date})
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
    string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${found_date}")
    quillora_days_since_1970(days ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
    math(EXPR epoch "${days} * 86400")
    set(QUILLORA_RELEASE_DATE ${found_date} PARENT_SCOPE)
    set(QUILLORA_RELEASE_EPOCH ${epoch} PARENT_SCOPE)
    set(QUILLORA_METAINFO_RELEASES "${releases}" PARENT_SCOPE)
    set(QUILLORA_DEBIAN_CHANGELOG "${changelog}" PARENT_SCOPE)
endfunction()

# As a script, for a check of a NEWS file of one's own:
# cmake -DNEWS=<file> -DVERSION=<version> -DOUTPUT=<folder> -P news.cmake
# writes <folder>/changelog and <folder>/releases.xml, and prints the date and its epoch.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    quillora_read_news("${NEWS}" "${VERSION}")
    file(WRITE "${OUTPUT}/changelog" "${QUILLORA_DEBIAN_CHANGELOG}")
    file(WRITE "${OUTPUT}/releases.xml" "${QUILLORA_METAINFO_RELEASES}")
    message("${QUILLORA_RELEASE_DATE} ${QUILLORA_RELEASE_EPOCH}")
endif()
