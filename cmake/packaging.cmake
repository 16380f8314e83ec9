# The release package of the plug-in, for the host's installers:
#   cmake --build --preset mingw-i686 --target package
# makes SubsidySet-<version>-win32.zip holding SubsidySet.dll, the documents
# for the host's developers (docs/) and SHA256SUMS over all of them, in the
# format `sha256sum -c` reads. The i686 build is the one that ships.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(package_system win32)
else()
  set(package_system win64)
endif()

set(package_documents ${PROJECT_SOURCE_DIR}/docs/host-integration.md
                      ${PROJECT_SOURCE_DIR}/docs/data-packet.md)
set(package_sums ${CMAKE_BINARY_DIR}/package/SHA256SUMS)
add_custom_command(
  OUTPUT ${package_sums}
  COMMAND ${CMAKE_COMMAND} -D OUTPUT=${package_sums} -D DLL=$<TARGET_FILE:SubsidySet>
          -D DOCS=${PROJECT_SOURCE_DIR}/docs -P ${PROJECT_SOURCE_DIR}/cmake/package_sums.cmake
  DEPENDS SubsidySet ${package_documents} ${PROJECT_SOURCE_DIR}/cmake/package_sums.cmake
  COMMENT "Checksums of the release package")
add_custom_target(package_sums ALL DEPENDS ${package_sums})

install(TARGETS SubsidySet RUNTIME DESTINATION .)
install(FILES ${package_documents} DESTINATION docs)
install(FILES ${package_sums} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME SubsidySet)
set(CPACK_PACKAGE_VENDOR Tarnvex)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Allowance item settings plug-in")
set(CPACK_PACKAGE_FILE_NAME SubsidySet-${PROJECT_VERSION}-${package_system})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
