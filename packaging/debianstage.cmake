# Finishes the staged package as Debian's own helpers would. CPack runs this once the files are
# staged (CPACK_PRE_BUILD_SCRIPTS), after maintainer.cmake has named whoever builds it.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# The binary stripped as dh_strip strips it: no debugging symbols, no compiler notes.
execute_process(COMMAND "${CPACK_QUILLORA_STRIP}" --remove-section=.comment --remove-section=.note
                        --strip-unneeded "${root}/bin/quillora"
                COMMAND_ERROR_IS_FATAL ANY)

# The changelog, signed by the builder and compressed with gzip -9n, without a name or a time
# stamp. A package of its own making (a native one: its version has no Debian revision) names
# it changelog.gz.
set(docdir "${root}/share/doc/${CPACK_PACKAGE_NAME}")
configure_file("${CPACK_QUILLORA_CHANGELOG_TEMPLATE}" "${docdir}/changelog" @ONLY)
execute_process(COMMAND gzip -9nf changelog WORKING_DIRECTORY "${docdir}" COMMAND_ERROR_IS_FATAL ANY)
