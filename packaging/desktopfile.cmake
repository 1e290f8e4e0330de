# Writes the launcher from its template with the program's installed path in Exec, so it starts
# the program even when the prefix's bin/ is not on PATH. The prefix is known only when
# installing (cmake --install --prefix), so the install step calls this.
#
# quillora_write_desktop_file(<template> <installed program> <output>)
function(quillora_write_desktop_file template program output)
    # Outside double quotes an Exec argument may hold no reserved character; inside them ", `, $
    # and \ take a backslash. The value as a whole then doubles every backslash, and % is doubled.
    if(program MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
        set(QUILLORA_EXEC "${program}")
    else()
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
        string(REPLACE "\\" "\\\\" quoted "${quoted}")
        set(QUILLORA_EXEC "\"${quoted}\"")
    endif()
    string(REPLACE "%" "%%" QUILLORA_EXEC "${QUILLORA_EXEC}")
    configure_file("${template}" "${output}" @ONLY)
endfunction()
