# Manual pages, generated from docs/man/*.1.md; installed compressed, as Debian wants them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(man_source_dir ${PROJECT_SOURCE_DIR}/docs/man)
set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
file(GLOB man_includes CONFIGURE_DEPENDS ${man_source_dir}/*.inc.md)
set(man_pages "")
# page component: each page goes with its program's package
set(man_page_components veltaro programs veltaro-cli cli veltaro-modem-sim cli)
while(man_page_components)
    list(POP_FRONT man_page_components page component)
    if(NOT TARGET ${page})
        continue()
    endif()
    add_custom_command(OUTPUT ${man_dir}/${page}.1 ${man_dir}/${page}.1.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        COMMAND Python3::Interpreter ${man_source_dir}/md2man.py ${man_source_dir}/${page}.1.md
                ${man_dir}/${page}.1 ${PROJECT_VERSION} --gzip ${man_dir}/${page}.1.gz
        DEPENDS ${man_source_dir}/md2man.py ${man_source_dir}/${page}.1.md ${man_includes}
        COMMENT "Writing the manual page ${page}(1)" VERBATIM)
    list(APPEND man_pages ${man_dir}/${page}.1.gz)
    install(FILES ${man_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT ${component})
endwhile()
add_custom_target(veltaro_manual_pages ALL DEPENDS ${man_pages})
