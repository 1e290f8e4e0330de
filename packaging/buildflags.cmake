# The compiler and linker flags of Debian's own package builds, as dpkg-buildflags gives them,
# with every hardening feature: fortified functions, stack protector, read-only relocations bound
# at start (relro, bind-now) and a position-independent executable; and every feature for
# reproducible builds: the source folder, where this runs, named "." in the program and its
# debugging information (-ffile-prefix-map), and a warning for __DATE__ and __TIME__.
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=+all"
                dpkg-buildflags --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    message(STATUS "dpkg-buildflags ${kind}: ${flags}")
    if(kind STREQUAL LDFLAGS)
        add_link_options(${flags})
    else()
        add_compile_options(${flags})
    endif()
endforeach()
