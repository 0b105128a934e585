# The information dictionary is generated once, here, from the project's version and
# the QUORVA_API_BASE_URL cache variable. The same file would become a macOS bundle's
# Info.plist; the binaries embed its bytes so they can read it at run time.
set(QUORVA_INFO_PLIST "${CMAKE_BINARY_DIR}/Info.plist")
# Values go into XML text: escape them, or a URL with & or < makes the whole file unreadable.
function(quorva_xml_escape out value)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
quorva_xml_escape(QUORVA_API_BASE_URL_XML "${QUORVA_API_BASE_URL}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Info.plist.in ${QUORVA_INFO_PLIST} @ONLY)
file(READ ${QUORVA_INFO_PLIST} QUORVA_INFO_PLIST_CONTENT)
configure_file(${CMAKE_CURRENT_LIST_DIR}/EmbeddedInfoPlist.cpp.in
               ${CMAKE_BINARY_DIR}/generated/EmbeddedInfoPlist.cpp @ONLY)
add_library(quorva_info_plist STATIC ${CMAKE_BINARY_DIR}/generated/EmbeddedInfoPlist.cpp)
