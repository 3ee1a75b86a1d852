# What a cross build takes from the build machine: GoogleTest (for the tests), built from its
# sources for the target.
if(BUILD_TESTING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# The header-only libraries of the command line, seen through a folder of their own: the build
# machine's /usr/include must not shadow the target's system headers.
set(TARVENOR_CROSS_HEADERS ${CMAKE_BINARY_DIR}/cross-headers)
file(MAKE_DIRECTORY ${TARVENOR_CROSS_HEADERS})
foreach(folder IN ITEMS CLI nlohmann)
    file(CREATE_LINK /usr/include/${folder} ${TARVENOR_CROSS_HEADERS}/${folder} SYMBOLIC)
endforeach()
foreach(library IN ITEMS CLI11::CLI11 nlohmann_json::nlohmann_json)
    add_library(${library} INTERFACE IMPORTED)
    target_include_directories(${library} SYSTEM INTERFACE ${TARVENOR_CROSS_HEADERS})
endforeach()
