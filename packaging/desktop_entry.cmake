# Run at install time: the desktop entry names the launcher by its full path, which only the
# install knows (cmake --install --prefix, or the package's /usr). Expects APP_ID, BINDIR,
# SOURCE and OUTPUT to be set.
set(LAUNCHER "${CMAKE_INSTALL_PREFIX}/${BINDIR}/quonfel")
if(NOT LAUNCHER MATCHES "^[A-Za-z0-9_/.+-]+$")
  # Quoted for Exec: a backslash before " ` $ and \, then every backslash doubled once more
  # for the entry's own string escapes.
  string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" LAUNCHER "${LAUNCHER}")
  string(REPLACE "\\" "\\\\" LAUNCHER "${LAUNCHER}")
  set(LAUNCHER "\"${LAUNCHER}\"")
endif()
# A lone % would start a field code.
string(REPLACE "%" "%%" LAUNCHER "${LAUNCHER}")
configure_file("${SOURCE}" "${OUTPUT}" @ONLY)
file(INSTALL "${OUTPUT}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
