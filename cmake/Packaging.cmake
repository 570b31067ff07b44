# A Debian package of the installed program: cpack -G DEB in the build
# folder; tools/check-package.sh builds and checks it.
set(QUILLET_MAINTAINER "Quillet-Orvane <quillet@users.noreply.github.com>"
  CACHE STRING "Maintainer of the Debian package, as Name <address>")
set(QUILLET_HOMEPAGE "https://github.com/quillet/quillet" CACHE STRING "The project's home page")

set(CPACK_PACKAGE_NAME "quillet")
set(CPACK_PACKAGE_VENDOR "Quillet-Orvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUILLET_MAINTAINER}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "quillet")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLET_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "checkbook manager for the desktop
Quillet keeps the registers of several bank accounts in one file: checks,
payments, deposits and fees, with cleared and void marks and flag colours.
Recurring transactions such as rent or salary are listed as they fall due
and posted or skipped with one click. A dashboard shows every account's
balance, what is due in the next days, a chart of the day-by-day balances
and a pie of the spending by category.

A reconcile dialog ticks entries off against the bank statement, and a
checkbook can be encrypted with a passphrase, protected with a password,
printed or exported as PDF. The command-line tool quillet-cli prints
reports, exports CSV and QIF, imports bank statements and encrypts or
decrypts checkbooks.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library check finds them: the window's
# platform plugins, the face the dashboard's fonts are fitted to, and
# libofx7's OFX DTDs, which the statement reader needs besides its library.
# libsodium23 encrypts checkbooks; the library check finds it too, but it is
# named so that a package built without that check still has it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, libofx7, libsodium23")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The package's own documents: Debian wants them compressed, and without
# a time stamp so that rebuilds give the same bytes.
set(quillet_docdir ${CMAKE_INSTALL_DATADIR}/doc/quillet)
configure_file(${PROJECT_SOURCE_DIR}/res/package/copyright ${PROJECT_BINARY_DIR}/package/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/package/changelog ${PROJECT_BINARY_DIR}/package/changelog @ONLY)
include(${CMAKE_CURRENT_LIST_DIR}/Gzip.cmake)
quillet_gzip(${PROJECT_BINARY_DIR}/package/changelog changelog_gz)
install(FILES ${PROJECT_BINARY_DIR}/package/copyright ${changelog_gz} DESTINATION ${quillet_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/res/package/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME quillet)

set(quillet_docs ${changelog_gz})
set(quillet_programs quillet-cli)
if(QUILLET_GUI)
  list(APPEND quillet_programs quillet)
endif()
foreach(program ${quillet_programs})
  quillet_gzip(${PROJECT_SOURCE_DIR}/res/man/${program}.1 man_gz)
  install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND quillet_docs ${man_gz})
endforeach()
add_custom_target(quillet_docs ALL DEPENDS ${quillet_docs})

include(CPack)
