# Writes the AppStream metainfo from its template, with the releases of NEWS, which appstreamcli
# turns into release notes, and the screenshot and home page where their addresses are given.
# Each release is told in NEWS, in the format AppStream reads, and again in the Debian package's
# changelog, which scripts/build-package checks against it. The version being built must have its
# entry there.
#
# In the build: quillora_write_metainfo(<template> <NEWS> <version> <output>
#                                       <screenshot address or empty> <home page address or empty>)
# As a script: cmake -DTEMPLATE=... -DNEWS=... -DVERSION=... -DOUTPUT=... -DSCREENSHOT_URL=...
#              -DHOMEPAGE_URL=... -P metainfo.cmake
find_program(QUILLORA_APPSTREAMCLI appstreamcli REQUIRED
             DOC "AppStream's appstreamcli, which writes the metainfo's release notes (Debian: appstream)")

function(quillora_write_metainfo template news version output screenshot_url homepage_url)
    file(STRINGS ${news} release REGEX "^Version ${version}$")
    if(NOT release)
        message(FATAL_ERROR "${news} has no entry for version ${version}")
    endif()
    set(QUILLORA_LINKS "")
    if(homepage_url)
        string(APPEND QUILLORA_LINKS "  <url type=\"homepage\">${homepage_url}</url>\n")
    endif()
    if(screenshot_url)
        string(CONCAT QUILLORA_LINKS "${QUILLORA_LINKS}"
            "  <screenshots>\n"
            "    <screenshot type=\"default\">\n"
            "      <caption>A few figures drawn in Quillora</caption>\n"
            "      <image type=\"source\">${screenshot_url}</image>\n"
            "    </screenshot>\n"
            "  </screenshots>\n")
    endif()
    # appstreamcli writes the releases into a component of their own, since it keeps only the
    # elements it knows: AppStream 0.16 (Debian 12) drops <developer>.
    file(WRITE ${output}.in "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<component>\n  <id>releases</id>\n</component>\n")
    execute_process(COMMAND ${QUILLORA_APPSTREAMCLI} news-to-metainfo --format=text
                            ${news} ${output}.in ${output}.releases
                    COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${output}.releases releases)
    file(REMOVE ${output}.in ${output}.releases)
    string(REGEX MATCH "  <releases>.*</releases>\n" QUILLORA_RELEASES "${releases}")
    if(NOT QUILLORA_RELEASES)
        message(FATAL_ERROR "appstreamcli news-to-metainfo wrote no releases from ${news}")
    endif()
    configure_file(${template} ${output} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    # The template is named by the application's id.
    cmake_path(GET TEMPLATE FILENAME template_name)
    string(REGEX REPLACE "\\.metainfo\\.xml\\.in$" "" QUILLORA_APP_ID "${template_name}")
    quillora_write_metainfo("${TEMPLATE}" "${NEWS}" "${VERSION}" "${OUTPUT}" "${SCREENSHOT_URL}" "${HOMEPAGE_URL}")
endif()
