# Desktop integration: the menu entry, its icon in the hicolor theme, the AppStream metadata.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VELTARO_APP_ID org.veltaro.veltaro)
set(icon_sizes 16 22 24 32 48 64 96 128 256)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(icon_files "")
foreach(size IN LISTS icon_sizes)
    list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/veltaro.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/desktop/make_icons.py
            ${icon_dir} veltaro ${icon_sizes}
    DEPENDS desktop/make_icons.py ${PROJECT_SOURCE_DIR}/ui/common/resources/make_art.py
    COMMENT "Drawing the hicolor icons" VERBATIM)
add_custom_target(veltaro_icons ALL DEPENDS ${icon_files})

install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
    COMPONENT programs)
install(FILES desktop/${VELTARO_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
install(FILES desktop/${VELTARO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT programs)
