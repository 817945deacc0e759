# The bundled sample data service copied beside a program, as the local data service finds it:
# koyomi_copy_sample_service(<target> <source folder> <program folder>) makes <target>, which
# copies the folder again whenever one of its files changes.
function(koyomi_copy_sample_service target source program_dir)
    set(files
        ${source}/README.txt
        ${source}/YSCH20241115100000.jvd
        ${source}/YSCH20241205150000.jvd
        ${source}/YSCH20251115100000.jvd
        ${source}/YSCH20251205150000.jvd
        ${source}/YSCH20261115100000.jvd
        ${source}/YSCH20261205150000.jvd)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${program_dir}/sample-service
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} ${program_dir}/sample-service
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${files}
        COMMENT "Copying the sample data service beside the program"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${stamp})
endfunction()
