# What a cross build takes from the build machine: GoogleTest built from its sources for the
# target, and the header-only libraries the command line uses. Those headers are made visible
# through a folder of their own, so the build machine's other headers never reach the target.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(TARVENOR_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${TARVENOR_HOST_HEADERS})
foreach(folder IN ITEMS CLI nlohmann)
    file(CREATE_LINK /usr/include/${folder} ${TARVENOR_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
foreach(library IN ITEMS CLI11::CLI11 nlohmann_json::nlohmann_json)
    add_library(${library} INTERFACE IMPORTED)
    target_include_directories(${library} SYSTEM INTERFACE ${TARVENOR_HOST_HEADERS})
endforeach()
