# Runs at install time, when the prefix is final (cmake --install --prefix may change it):
# writes brenlow.pc with absolute directories under that prefix and installs it.
# Expects PC_TEMPLATE, PC_WORK_DIR, PC_VERSION, PC_LIBDIR_REL, PC_INCLUDEDIR_REL.
foreach(kind LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${PC_${kind}_REL}")
        set(PC_${kind} "${PC_${kind}_REL}")
    else()
        set(PC_${kind} "\${prefix}/${PC_${kind}_REL}")
    endif()
endforeach()
set(PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
configure_file("${PC_TEMPLATE}" "${PC_WORK_DIR}/brenlow.pc" @ONLY)
if(IS_ABSOLUTE "${PC_LIBDIR_REL}")
    set(pc_destination "${PC_LIBDIR_REL}/pkgconfig")
else()
    set(pc_destination "${CMAKE_INSTALL_PREFIX}/${PC_LIBDIR_REL}/pkgconfig")
endif()
file(INSTALL DESTINATION "${pc_destination}" TYPE FILE FILES "${PC_WORK_DIR}/brenlow.pc")
