# Installs the desktop entry, run by cmake_install.cmake. Path= names the
# data directory under the prefix of this installation, where the program
# finds ORVELA.CHM and Info.txt.
if(IS_ABSOLUTE "${ORVELA_INSTALL_DATADIR}")
  set(datadir "${ORVELA_INSTALL_DATADIR}")
else()
  set(datadir "${CMAKE_INSTALL_PREFIX}/${ORVELA_INSTALL_DATADIR}")
endif()
set(ORVELA_DATA_DIR "${datadir}/orvela")
file(READ "${ORVELA_DESKTOP_TEMPLATE}" entry)
string(CONFIGURE "${entry}" entry @ONLY)
# One staging copy per destination, so that installations into two places
# at once (a test's and the package's) do not write the same file.
string(MD5 destination "$ENV{DESTDIR}${datadir}")
set(staged "${ORVELA_STAGING_DIR}/${destination}/${ORVELA_APP_ID}.desktop")
file(WRITE "${staged}" "${entry}")
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${staged}")
