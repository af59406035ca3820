# cmake --install: the public headers under include/KpVur50, both shared
# libraries with the default library "Line.lsl" beside them, the programs,
# a CMake package (find_package(KpVur50 COMPONENTS Core Qt)) and pkg-config
# files. Everything is found relative to the prefix, so an installed tree can
# be moved.
include(CMakePackageConfigHelpers)

set(KP_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/KpVur50)
set(KP_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/KpVur50)
set(KP_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Headers keep their folders, so that a host includes "model/CKpLineStyleLib.h"
# as the module's own sources do.
foreach(dir IN ITEMS platform model format engine companions module ui)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${KP_INSTALL_INCLUDEDIR}/${dir}
    COMPONENT Development FILES_MATCHING PATTERN "*.h")
endforeach()

install(TARGETS KpVur50Shared EXPORT KpVur50CoreTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development)
install(TARGETS KpVur50QtShared EXPORT KpVur50QtTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development)
install(EXPORT KpVur50CoreTargets NAMESPACE KpVur50:: DESTINATION ${KP_INSTALL_CMAKEDIR} COMPONENT Development)
install(EXPORT KpVur50QtTargets NAMESPACE KpVur50:: DESTINATION ${KP_INSTALL_CMAKEDIR} COMPONENT Development)

# The default library, written by the module's own writer, goes beside
# libKpVur50.so, where the module looks for it.
set(KP_DEFAULT_LIBRARY ${PROJECT_BINARY_DIR}/data/Line.lsl)
add_custom_command(OUTPUT ${KP_DEFAULT_LIBRARY}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
  COMMAND lsl new-default ${KP_DEFAULT_LIBRARY}
  DEPENDS lsl
  COMMENT "Writing the default library Line.lsl")
add_custom_target(kp_default_library ALL DEPENDS ${KP_DEFAULT_LIBRARY})
install(FILES ${KP_DEFAULT_LIBRARY} DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime)

# The programs find the libraries relative to themselves.
file(RELATIVE_PATH kp_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
set_target_properties(lsl lsl-picker lsl-editor PROPERTIES INSTALL_RPATH "$ORIGIN/${kp_bin_to_lib}")
install(TARGETS lsl lsl-picker lsl-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KpVur50Config.cmake.in
  ${PROJECT_BINARY_DIR}/KpVur50Config.cmake INSTALL_DESTINATION ${KP_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KpVur50ConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KpVur50Config.cmake ${PROJECT_BINARY_DIR}/KpVur50ConfigVersion.cmake
  DESTINATION ${KP_INSTALL_CMAKEDIR} COMPONENT Development)

# pkg-config files locate the prefix from their own folder.
file(RELATIVE_PATH KP_PC_TO_PREFIX /${KP_INSTALL_PKGCONFIGDIR} /)
string(REGEX REPLACE "/$" "" KP_PC_TO_PREFIX "${KP_PC_TO_PREFIX}")
foreach(pc IN ITEMS KpVur50 KpVur50Qt)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${KP_INSTALL_PKGCONFIGDIR} COMPONENT Development)
endforeach()
