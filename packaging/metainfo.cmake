# Writes the AppStream metainfo from its template, with the releases of NEWS.md, which
# quillora_read_news gave in QUILLORA_METAINFO_RELEASES. A software centre shows screenshots only
# from a public web address, so the screenshot is listed once one is given.
#
# In the build: quillora_write_metainfo(<template> <output> <screenshot address or empty>).
# As a script: cmake -DTEMPLATE=... -DOUTPUT=... -DSCREENSHOT_URL=... -DNEWS=<NEWS.md>
#              -DVERSION=<version> -P metainfo.cmake
function(quillora_write_metainfo template output screenshot_url)
    set(QUILLORA_SCREENSHOTS "")
    if(screenshot_url)
        string(CONCAT QUILLORA_SCREENSHOTS
            "  <screenshots>\n"
            "    <screenshot type=\"default\">\n"
            "      <caption>A few figures drawn in Quillora</caption>\n"
            "      <image type=\"source\">${screenshot_url}</image>\n"
            "    </screenshot>\n"
            "  </screenshots>\n")
    endif()
    configure_file(${template} ${output} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    # The template is named by the application's id.
    if(NOT QUILLORA_APP_ID)
        cmake_path(GET TEMPLATE FILENAME template_name)
        string(REGEX REPLACE "\\.metainfo\\.xml\\.in$" "" QUILLORA_APP_ID "${template_name}")
    endif()
    include(${CMAKE_CURRENT_LIST_DIR}/news.cmake)
    quillora_read_news("${NEWS}" "${VERSION}")
    quillora_write_metainfo("${TEMPLATE}" "${OUTPUT}" "${SCREENSHOT_URL}")
endif()
