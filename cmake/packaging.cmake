# cpack -G DEB makes bin2dec_<version>_<arch>.deb from what the install rules put in place.
set(CPACK_PACKAGE_NAME "${PROJECT_NAME}")
set(CPACK_PACKAGE_VENDOR "The bin2dec developers")
set(CPACK_PACKAGE_CONTACT "The bin2dec developers <bin2dec@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert a binary number of eight digits or fewer to decimal")
set(CPACK_PACKAGE_DESCRIPTION
    "bin2dec asks for a binary number of eight digits or fewer, reads it from standard input\n"
    "and writes its decimal value in a small framed report. Each of the lowest eight decimal\n"
    "digits counts as a bit by its parity, and a minus sign carries into the value.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
