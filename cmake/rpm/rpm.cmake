# The RPM package of a fully static Linux build (cpack -G RPM), for the RPM distributions, whose C
# libraries are older than Debian's (RHEL 8's glibc 2.28) or other: the static archive's program,
# manual page and documents under /usr (packing.cmake), for any of them. Debian's rpmbuild is set
# to what the package must be wherever it installs, rather than left to its own defaults.
if(NOT rpm OR rpm STREQUAL "-")
  return()
endif()
set(CPACK_RPM_PACKAGE_ARCHITECTURE "${rpm}")
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE ${CPACK_BIN2DEC_PACKAGE_RELEASE})
set(CPACK_RPM_PACKAGE_SUMMARY "${CPACK_BIN2DEC_SUMMARY}")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RPM_PACKAGE_LICENSE "${CPACK_BIN2DEC_LICENSE}")
# What rpmbuild writes for a package that names no group; the project has no home page to name.
set(CPACK_RPM_PACKAGE_GROUP Unspecified)
set(CPACK_RPM_PACKAGE_URL "")
# A static program needs nothing and provides no library: rpmbuild would otherwise read both off
# the files, with this machine's tools.
set(CPACK_RPM_PACKAGE_AUTOREQPROV OFF)
set(CPACK_PACKAGE_RELOCATABLE OFF)
# The folders it installs into belong to the system (its filesystem package), not to bin2dec.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/man /usr/share/man/man1)
set(CPACK_RPM_USER_FILELIST
    "%doc %{_docdir}/bin2dec/README.md" "%license %{_docdir}/bin2dec/LICENSE"
    "%license %{_docdir}/bin2dec/THIRD-PARTY-NOTICES")
set(CPACK_RPM_CHANGELOG_FILE "${PROJECT_BINARY_DIR}/rpm-changelog")
include("${CMAKE_CURRENT_LIST_DIR}/changelog.cmake")
bin2dec_rpm_changelog("${PROJECT_SOURCE_DIR}/CHANGELOG" "${CPACK_RPM_CHANGELOG_FILE}")

# Debian's rpmbuild keeps its own defaults where Fedora's differ; each that touches the package is
# set here. Its post-install scripts would strip the program with this machine's strip (not the
# cross one that made the static archive's) and compress the manual page again; no build-id links
# under /usr/lib/.build-id, which would belong to no other package; the build's time and host are
# the commit's and none, for the same bytes from any machine; its packager the project, in the
# macro that rpmbuild takes the tag from, as cpack sets no tag of that name; and an xz payload, which rpm reads
# since 4.7 (RHEL 8 has 4.14), single-threaded, for the same bytes on any number of cores.
string(JOIN "\n" CPACK_RPM_SPEC_MORE_DEFINE
       "%define __os_install_post %{nil}"
       "%define _build_id_links none"
       "%define debug_package %{nil}"
       "%define _buildhost reproducible"
       "%define packager ${CPACK_PACKAGE_CONTACT}"
       "%define use_source_date_epoch_as_buildtime 1"
       "%define clamp_mtime_to_source_date_epoch 1"
       "%define _binary_payload w9.xzdio")
