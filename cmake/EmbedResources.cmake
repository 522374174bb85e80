# Compiles files of resources/ into a C++ table so that the kit finds its own drawings by name
# without a resource file beside the program.
function(mebrox_embed_resources target output)
  set(inputs ${ARGN})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DINPUTS=${inputs}"
            -P ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
    DEPENDS ${inputs} ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
    COMMENT "Embedding resources"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
