# What `cmake --install` puts in place: the public headers, the three deliverables,
# a CMake package (find_package(ZorDTA) -> ZorDTA::ZorDTAPackage14/12/6, each with
# its interface width) and one pkg-config file per deliverable. Both package files
# find the prefix relative to themselves, so `cmake --install --prefix` anywhere works.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZORDTA_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ZorDTA")

install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/zordta"
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")

install(TARGETS ${ZORDTA_PACKAGES} EXPORT ZorDTATargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(EXPORT ZorDTATargets NAMESPACE ZorDTA:: DESTINATION "${ZORDTA_INSTALL_CMAKEDIR}")

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/ZorDTAConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/ZorDTAConfig.cmake"
  INSTALL_DESTINATION "${ZORDTA_INSTALL_CMAKEDIR}")
# 4.x: the exported symbols change only with the major version.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ZorDTAConfigVersion.cmake"
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/ZorDTAConfig.cmake"
              "${PROJECT_BINARY_DIR}/ZorDTAConfigVersion.cmake"
  DESTINATION "${ZORDTA_INSTALL_CMAKEDIR}")

# The way from the pkg-config folder back up to the prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ZORDTA_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH zordta_up "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" zordta_up "${zordta_up}")
  set(ZORDTA_PC_PREFIX "\${pcfiledir}/${zordta_up}")
endif()
foreach(ZORDTA_PC_NAME ${ZORDTA_PACKAGES})
  get_target_property(ZORDTA_PC_DESCRIPTION ${ZORDTA_PC_NAME} ZORDTA_DESCRIPTION)
  get_target_property(zordta_definitions ${ZORDTA_PC_NAME} INTERFACE_COMPILE_DEFINITIONS)
  list(FILTER zordta_definitions INCLUDE REGEX "^ZORDTA_WIDE_STRINGS=")
  set(ZORDTA_PC_DEFINITIONS "-D${zordta_definitions}")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/ZorDTAPackage.pc.in"
    "${PROJECT_BINARY_DIR}/pkgconfig/${ZORDTA_PC_NAME}.pc" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/pkgconfig/${ZORDTA_PC_NAME}.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
endforeach()
