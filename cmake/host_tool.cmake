# Small generators that run on the build machine (the icon, the sample
# picture): built with the host's own compiler, also in the cross build.
find_program(TANDREL_HOST_CXX NAMES c++ g++ clang++ REQUIRED)

# Builds `source` into the host program `name` and runs it to write `output`;
# further arguments are headers that the source includes.
function(tandrel_generate name source output)
    set(tool ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_custom_command(
        OUTPUT ${tool}
        COMMAND ${TANDREL_HOST_CXX} -std=c++17 -O2 -o ${tool} ${source}
        DEPENDS ${source} ${ARGN}
        COMMENT "Building ${name}")
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${tool} ${output}
        DEPENDS ${tool}
        COMMENT "Writing ${output}")
endfunction()
