# The information dictionary is generated here, once, from the project's version and the
# QUORVA_API_BASE_URL cache variable. The same file would become a macOS bundle's Info.plist;
# the binaries embed its bytes and read them with the property-list code at run time.

# Values go into XML text: escape them, or a URL with & or < makes the whole file unreadable.
function(quorva_xml_escape out value)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Writes <dir>/Info.plist for the given service origin and a C++ source embedding it;
# the source's path is returned in <out_source>.
function(quorva_generate_info_plist out_source dir base_url)
  quorva_xml_escape(QUORVA_API_BASE_URL_XML "${base_url}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/Info.plist.in ${dir}/Info.plist @ONLY)
  file(READ ${dir}/Info.plist QUORVA_INFO_PLIST_CONTENT)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/EmbeddedInfoPlist.cpp.in ${dir}/EmbeddedInfoPlist.cpp @ONLY)
  set(${out_source} ${dir}/EmbeddedInfoPlist.cpp PARENT_SCOPE)
endfunction()

quorva_generate_info_plist(QUORVA_INFO_PLIST_SOURCE ${CMAKE_BINARY_DIR}/generated "${QUORVA_API_BASE_URL}")
set(QUORVA_INFO_PLIST ${CMAKE_BINARY_DIR}/generated/Info.plist)
# The application's own dictionary. A test binary that needs another origin compiles its own
# generated source into the executable; the archive's copy is then never pulled in.
add_library(quorva_info_plist STATIC ${QUORVA_INFO_PLIST_SOURCE})
