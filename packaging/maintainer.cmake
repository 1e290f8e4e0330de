# The package's Maintainer is whoever builds it, named by Debian's own variables DEBFULLNAME and
# DEBEMAIL. CPack reads this file when it builds the package (CPACK_PROJECT_CONFIG_FILE);
# `make package` also runs it as a script first, so a missing name stops it before the build.
set(quillora_missing "")
foreach(variable DEBFULLNAME DEBEMAIL)
    if("$ENV{${variable}}" STREQUAL "")
        list(APPEND quillora_missing ${variable})
    endif()
endforeach()
if(quillora_missing)
    list(JOIN quillora_missing " and " quillora_missing)
    message(FATAL_ERROR "The Debian package names whoever builds it as its Maintainer: set "
        "${quillora_missing}, for example\n"
        "  DEBFULLNAME='Ada Lovelace' DEBEMAIL=ada@example.org make package")
endif()
if(NOT "$ENV{DEBEMAIL}" MATCHES "^[^@<> ]+@[^@<> ]+$" OR "$ENV{DEBFULLNAME}" MATCHES "[<>,]")
    message(FATAL_ERROR "DEBFULLNAME must be a plain name and DEBEMAIL a plain address, such as "
        "DEBFULLNAME='Ada Lovelace' DEBEMAIL=ada@example.org; they are now "
        "'$ENV{DEBFULLNAME}' and '$ENV{DEBEMAIL}'")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
