# Brenlow for other programs: the CMake package (Brenlow::brenlow) and brenlow.pc.
include(CMakePackageConfigHelpers)

set(brenlow_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Brenlow)
install(EXPORT BrenlowTargets NAMESPACE Brenlow:: DESTINATION ${brenlow_cmake_dir}
    COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/BrenlowConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/BrenlowConfig.cmake INSTALL_DESTINATION ${brenlow_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/BrenlowConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/BrenlowConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/BrenlowConfigVersion.cmake
    DESTINATION ${brenlow_cmake_dir} COMPONENT development)

# brenlow.pc names absolute directories, so it is written once the prefix is final.
install(CODE "
    set(PC_TEMPLATE \"${PROJECT_SOURCE_DIR}/cmake/brenlow.pc.in\")
    set(PC_WORK_DIR \"${CMAKE_CURRENT_BINARY_DIR}\")
    set(PC_VERSION \"${PROJECT_VERSION}\")
    set(PC_LIBDIR_REL \"${CMAKE_INSTALL_LIBDIR}\")
    set(PC_INCLUDEDIR_REL \"${CMAKE_INSTALL_INCLUDEDIR}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/write_pkgconfig.cmake\")
" COMPONENT development)
