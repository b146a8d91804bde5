# Small programs that run on the build machine (the icon, the sample picture,
# the checks of the built program): built with the host's own compiler, also
# in the cross build.
find_program(TANDREL_HOST_CXX NAMES c++ g++ clang++ REQUIRED)

# Builds `source` into the host program `name` in the current build folder;
# further arguments are headers that the source includes.
function(tandrel_host_program name source)
    set(tool ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_custom_command(
        OUTPUT ${tool}
        COMMAND ${TANDREL_HOST_CXX} -std=c++17 -O2 -o ${tool} ${source}
        DEPENDS ${source} ${ARGN}
        COMMENT "Building ${name}")
endfunction()

# Builds `source` into the host program `name` and runs it to write `output`;
# further arguments are headers that the source includes.
function(tandrel_generate name source output)
    tandrel_host_program(${name} ${source} ${ARGN})
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_CURRENT_BINARY_DIR}/${name} ${output}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${name}
        COMMENT "Writing ${output}")
endfunction()
