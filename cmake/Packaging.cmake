# A Debian package of the installed program: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME "quillet")
set(CPACK_PACKAGE_VENDOR "Quillet-Orvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Checkbook manager for the desktop")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillet keeps the registers of several bank accounts in one file, lists recurring\n\
transactions as they fall due, charts balances and spending, reconciles accounts\n\
against bank statements, and can protect a checkbook with a password or encrypt it\n\
with a passphrase.")
set(CPACK_PACKAGE_CONTACT "Quillet-Orvane <quillet@localhost>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "quillet")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins are loaded at run time, so no library check finds them.
# libofx7 carries the OFX DTDs the statement reader needs besides its library.
# libsodium23 encrypts checkbooks; the library check finds it too, but it is
# named so that a package built without that check still has it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libofx7, libsodium23")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")

include(CPack)
