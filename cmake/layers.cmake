# Each library and program may include only from the folders of its own layer and those below:
# model < device < engine < ui/logic < ui < app, the command line on the engine. A file that
# includes from above its layer fails the build of its target, with the offending lines named.
function(tarvenor_layer target)
    cmake_parse_arguments(LAYER "QT" "" "ALLOWED" ${ARGN})
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    set(files "")
    foreach(source IN LISTS sources)
        if(NOT IS_ABSOLUTE "${source}")
            set(source "${folder}/${source}")
        endif()
        list(APPEND files "${source}")
        # Each file's header too: it is what the target's users include.
        string(REGEX REPLACE "\\.(cpp|c)$" ".h" header "${source}")
        if(NOT header STREQUAL source AND EXISTS "${header}")
            list(APPEND files "${header}")
        endif()
    endforeach()
    set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.layer")
    # The lists go through files: a list on a command line would be split into arguments.
    file(WRITE "${stamp}.files" "${files}")
    file(WRITE "${stamp}.allowed" "${LAYER_ALLOWED}")
    add_custom_command(OUTPUT "${stamp}"
        COMMAND ${CMAKE_COMMAND} "-DSOURCES_FILE=${stamp}.files" "-DALLOWED_FILE=${stamp}.allowed"
                "-DQT=${LAYER_QT}" "-DSTAMP=${stamp}"
                -P "${PROJECT_SOURCE_DIR}/cmake/layer_check.cmake"
        DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/layer_check.cmake"
        COMMENT "Checking the includes of ${target} against its layer" VERBATIM)
    add_custom_target(${target}_layer DEPENDS "${stamp}")
    add_dependencies(${target} ${target}_layer)
endfunction()
