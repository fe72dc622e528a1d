# Installed into a prefix whose library directory the dynamic linker searches anyway (the
# Debian packages go to /usr, the library to /usr/lib/<multiarch>), the programs need no
# RUNPATH, and Debian's policy asks for none; anywhere else they keep $ORIGIN/../lib...
# program component: each program's RUNPATH goes in the install of its own package
set(veltaro_programs veltaro programs veltaro-cli cli veltaro-modem-sim cli)

set(loader_dirs /lib /usr/lib)
if(CMAKE_LIBRARY_ARCHITECTURE)
    list(APPEND loader_dirs
        /lib/${CMAKE_LIBRARY_ARCHITECTURE} /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()

while(veltaro_programs)
    list(POP_FRONT veltaro_programs program component)
    if(NOT TARGET ${program})
        continue()
    endif()
    install(CODE "
        set(system_dirs \"${loader_dirs}\")
        set(libdir \"${CMAKE_INSTALL_LIBDIR}\")
        if(NOT IS_ABSOLUTE \"\${libdir}\")
            set(libdir \"\${CMAKE_INSTALL_PREFIX}/\${libdir}\")
        endif()
        list(FIND system_dirs \"\${libdir}\" found)
        if(found GREATER -1)
            file(RPATH_REMOVE FILE
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
        endif()
    " COMPONENT ${component})
endwhile()
