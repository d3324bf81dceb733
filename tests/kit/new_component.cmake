# With the kit installed in PREFIX: "vrel-devhost new" starts a component in
# WORK, which then builds against the kit and runs its scenario, its settings
# check and the validator with the installed tools. The folder, no longer
# empty, is refused the second time.
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)

file(REMOVE_RECURSE ${WORK})
set(component ${WORK}/Beacon)
vrel_kit_run("vrel-devhost new" OUTPUT out
    COMMAND env -i ${PREFIX}/bin/vrel-devhost new Beacon ${component})
message("${out}")
if(NOT out MATCHES "-DCMAKE_PREFIX_PATH=${PREFIX}\n")
    message(FATAL_ERROR "the commands printed do not name the kit's prefix ${PREFIX}")
endif()
vrel_kit_build(${component} ${component}/build ${PREFIX})

vrel_kit_run("vrel-devhost new into a folder that is not empty" OUTPUT out EXIT 2
    COMMAND env -i ${PREFIX}/bin/vrel-devhost new Beacon ${component})
if(NOT out MATCHES "vrel-devhost new: the folder '[^']*Beacon' is not empty")
    message(FATAL_ERROR "the refusal said:\n${out}")
endif()
