# The shared libraries hosts load: libKpVur50.so (the core, standard library
# only) and libKpVur50Qt.so (the Qt device context, the controls and the
# dialogs), versioned, exporting only what is marked KP_API.

# Pure helpers both libraries need but a host does not: compiled into each,
# hidden in each, rather than exported from the core.
set(KP_SHARED_HELPER_SOURCES
  ${PROJECT_SOURCE_DIR}/platform/KpString.cpp
  ${PROJECT_SOURCE_DIR}/platform/KpEllipseView.cpp
  ${PROJECT_SOURCE_DIR}/platform/KpStrokeCover.cpp
  ${PROJECT_SOURCE_DIR}/engine/KpGlyphText.cpp
  ${PROJECT_SOURCE_DIR}/model/KpSubLineKinds.cpp)

add_library(KpVur50Shared SHARED $<TARGET_OBJECTS:KpVur50CoreObjects>)
target_include_directories(KpVur50Shared PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/KpVur50>)
set_target_properties(KpVur50Shared PROPERTIES
  OUTPUT_NAME KpVur50
  EXPORT_NAME Core
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  LINKER_LANGUAGE CXX)

add_library(KpVur50QtShared SHARED
  $<TARGET_OBJECTS:KpVur50QtObjects> $<TARGET_OBJECTS:KpVur50UiObjects> ${KP_SHARED_HELPER_SOURCES})
target_link_libraries(KpVur50QtShared PUBLIC KpVur50Shared Qt6::Core Qt6::Gui Qt6::Svg Qt6::Widgets)
set_target_properties(KpVur50QtShared PROPERTIES
  OUTPUT_NAME KpVur50Qt
  ${KP_LIBRARY_VISIBILITY}
  EXPORT_NAME Qt
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  LINKER_LANGUAGE CXX
  # Installed beside libKpVur50.so.
  INSTALL_RPATH "$ORIGIN")

add_library(KpVur50::Core ALIAS KpVur50Shared)
add_library(KpVur50::Qt ALIAS KpVur50QtShared)

# Every symbol the libraries need is resolved when they are linked (the
# sanitizers' runtimes are not linked into libraries by clang, so their builds
# skip the check).
if(NOT KP_SANITIZE AND NOT KP_TSAN AND NOT KP_FUZZ)
  target_link_options(KpVur50Shared PRIVATE -Wl,--no-undefined)
  target_link_options(KpVur50QtShared PRIVATE -Wl,--no-undefined)
endif()
